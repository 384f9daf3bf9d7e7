#include "registry/system_registry.h"

#include "registry/registry_file.h"

namespace nerbo {

std::unique_ptr<Registry> MakeSystemRegistry(UnreadableRegistryHandler on_unreadable) {
  return MakeRegistryFile(RegistryFilePathFromEnvironment(), std::move(on_unreadable));
}

}  // namespace nerbo
