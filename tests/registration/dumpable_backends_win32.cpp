#include "registration/registration_harness.h"
#include "registry/system_registry.h"
#include "support/memory_registry.h"

namespace nerbo {

// The real registry of Windows cannot be dumped whole; its own test reads
// the installed entries back one by one.
std::vector<HarnessBackend> DumpableBackends() {
  return {{"Memory", [] { return RegistryInstance{nullptr, MakeMemoryRegistry()}; }}};
}

HarnessBackend Advapi32HarnessBackend() {
  return {"Advapi32", [] { return RegistryInstance{nullptr, MakeSystemRegistry(nullptr)}; }};
}

}  // namespace nerbo
