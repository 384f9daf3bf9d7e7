#include <gtest/gtest.h>

#include "registration/registration_harness.h"
#include "registry/registry_file.h"
#include "support/memory_registry.h"

namespace nerbo {

std::vector<HarnessBackend> DumpableBackends() {
  return {
      {"Memory",
       [] {
         return RegistryInstance{nullptr, MakeMemoryRegistry()};
       }},
      {"RegistryFile",
       [] {
         auto directory = std::make_shared<ScopedTempDir>();
         auto registry = MakeRegistryFile((directory->path() / "registry.reg").string(),
                                          [](const std::string& message) { ADD_FAILURE() << message; });
         return RegistryInstance{directory, std::move(registry)};
       }},
  };
}

}  // namespace nerbo
