#include "registry/system_registry.h"

#include "registry/advapi32_registry.h"

namespace nerbo {

std::unique_ptr<Registry> MakeSystemRegistry(UnreadableRegistryHandler) { return MakeAdvapi32Registry(); }

}  // namespace nerbo
