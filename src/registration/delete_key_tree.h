// Deletes a key with all its subkeys and values.
#pragma once

#include "registry/registry.h"

namespace nerbo {

// Deletes the subkey `name` of `parent` whole, the deepest keys first and,
// on each level, from the last subkey to the first (enumerating upwards
// while deleting would skip keys). Gives the result of the first deletion
// that failed, else that of `name` itself; a subkey whose
// name cannot be fetched is skipped (and then keeps `name` from going).
long DeleteKeyTree(Registry& registry, RegKey parent, const char* name);

}  // namespace nerbo
