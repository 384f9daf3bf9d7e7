#include "runtime/registry_backends.h"

namespace nerbo {

RegistryBackend SystemRegistryBackend() {
  return RegistryBackend{"Advapi32",
                         [] {
                           return RegistryUnderTest{MakeSystemRegistry(nullptr), [] {}};
                         },
                         true};
}

}  // namespace nerbo
