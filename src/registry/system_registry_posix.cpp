#include "registry/system_registry.h"

#include "registry/registry_file.h"
#include "registry/tree_backed_registry.h"

namespace nerbo {

std::unique_ptr<Registry> MakeSystemRegistry(UnreadableRegistryHandler on_unreadable) {
  return std::make_unique<TreeBackedRegistry>(
      MakeRegistryFileStore(RegistryFilePathFromEnvironment(), std::move(on_unreadable)));
}

}  // namespace nerbo
