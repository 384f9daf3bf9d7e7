// The keys of the real registry of Windows that installing and uninstalling
// may touch, machine-wide and for the current user: dumped to compare, and
// removed for a fresh start. The rest of the prefix is left alone.
#pragma once

#include <string>

#include "registry/registry.h"

namespace nerbo {

// One line per key and per value (its type and bytes), names sorted, as
// Windows does not promise an order.
std::string SnapshotRegistrationKeys();

void RemoveRegistrationKeys(Registry& registry);

}  // namespace nerbo
