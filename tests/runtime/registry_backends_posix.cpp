#include <memory>

#include <gtest/gtest.h>

#include "runtime/registry_backends.h"
#include "runtime/registry_hive.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {

RegistryBackend SystemRegistryBackend() {
  return RegistryBackend{
      "HiveFile",
      [] {
        auto directory = std::make_shared<ScopedTempDir>();
        auto registry = MakeHiveRegistry((directory->path() / "registry.reg").string(),
                                         [](const std::string& message) { ADD_FAILURE() << message; });
        return RegistryUnderTest{std::move(registry), [directory]() mutable { directory.reset(); }};
      },
      false};
}

}  // namespace nerbo
