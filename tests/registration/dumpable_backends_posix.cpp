#include <gtest/gtest.h>

#include "registration/registration_harness.h"
#include "runtime/registry_hive.h"
#include "support/memory_registry.h"

namespace nerbo {

std::vector<HarnessBackend> DumpableBackends() {
  return {
      {"Memory",
       [] {
         return RegistryInstance{nullptr, MakeMemoryRegistry()};
       }},
      {"HiveFile",
       [] {
         auto directory = std::make_shared<ScopedTempDir>();
         auto registry = MakeHiveRegistry((directory->path() / "registry.reg").string(),
                                          [](const std::string& message) { ADD_FAILURE() << message; });
         return RegistryInstance{directory, std::move(registry)};
       }},
  };
}

}  // namespace nerbo
