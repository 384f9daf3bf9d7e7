#include <memory>

#include <gtest/gtest.h>

#include "registry/registry_backends.h"
#include "registry/registry_file.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {

RegistryBackend SystemRegistryBackend() {
  return RegistryBackend{
      "RegistryFile",
      [] {
        auto directory = std::make_shared<ScopedTempDir>();
        auto registry = MakeRegistryFile((directory->path() / "registry.reg").string(),
                                         [](const std::string& message) { ADD_FAILURE() << message; });
        return RegistryUnderTest{std::move(registry), [directory]() mutable { directory.reset(); }};
      },
      false};
}

}  // namespace nerbo
