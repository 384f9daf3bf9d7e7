#include "registry/registry_backends.h"

#include <algorithm>
#include <iterator>

#include "support/memory_registry.h"

namespace nerbo {

std::vector<RegistryBackend> RegistryBackends() {
  RegistryBackend memory{"Memory", [] { return RegistryUnderTest{nullptr, MakeMemoryRegistry(), ""}; }};
  memory.dumpable = true;
  return {memory, SystemRegistryBackend()};
}

std::vector<RegistryBackend> DumpableBackends() {
  std::vector<RegistryBackend> dumpable;
  const std::vector<RegistryBackend> all = RegistryBackends();
  std::copy_if(all.begin(), all.end(), std::back_inserter(dumpable),
               [](const RegistryBackend& backend) { return backend.dumpable; });
  return dumpable;
}

std::string BackendName(const testing::TestParamInfo<RegistryBackend>& info) { return info.param.name; }

}  // namespace nerbo
