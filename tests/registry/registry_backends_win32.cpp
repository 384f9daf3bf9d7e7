#include "registry/registry_backends.h"
#include "registry/system_registry.h"

namespace nerbo {

// The real registry of Windows cannot be dumped whole; its own tests read
// the entries back one by one.
RegistryBackend SystemRegistryBackend() {
  RegistryBackend advapi32{"Advapi32", [] {
                             return RegistryUnderTest{nullptr, MakeSystemRegistry(nullptr), ""};
                           }};
  advapi32.may_add_terminator = true;
  return advapi32;
}

}  // namespace nerbo
