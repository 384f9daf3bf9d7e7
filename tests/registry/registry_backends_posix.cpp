#include <memory>

#include <gtest/gtest.h>

#include "registry/registry_backends.h"
#include "registry/registry_file.h"
#include "support/registry_dump.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {

RegistryBackend SystemRegistryBackend() {
  RegistryBackend file{"RegistryFile", [] {
                         auto directory = std::make_shared<ScopedTempDir>();
                         const std::string path = (directory->path() / "registry.reg").string();
                         auto registry = MakeDumpableRegistry(MakeRegistryFileStore(
                             path, [](const std::string& message) { ADD_FAILURE() << message; }));
                         return RegistryUnderTest{directory, std::move(registry), path};
                       }};
  file.dumpable = true;
  return file;
}

}  // namespace nerbo
