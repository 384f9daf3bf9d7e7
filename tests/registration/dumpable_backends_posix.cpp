#include "registration/registration_harness.h"

namespace nerbo {

std::vector<DumpableBackend> DumpableBackends() {
  return {{"Memory", [] { return RegistryInstance{MakeMemoryRegistry(), nullptr}; }}};
}

}  // namespace nerbo
