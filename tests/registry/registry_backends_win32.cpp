#include "registry/registry_backends.h"
#include "registry/system_registry.h"

namespace nerbo {

RegistryBackend SystemRegistryBackend() {
  return RegistryBackend{"Advapi32",
                         [] {
                           return RegistryUnderTest{MakeSystemRegistry(nullptr), [] {}};
                         },
                         true};
}

}  // namespace nerbo
