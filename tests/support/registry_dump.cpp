#include "support/registry_dump.h"

#include "runtime/tree_registry.h"

namespace nerbo {

std::string DumpRegistry(Registry& registry) {
  auto* tree = dynamic_cast<TreeRegistry*>(&registry);
  return tree ? tree->Dump() : "(this registry cannot be dumped)\n";
}

}  // namespace nerbo
