// A registry held in memory only, for tests of the code above the registry
// seam; DumpRegistry shows its whole content.
#pragma once

#include <memory>

#include "registry/registry.h"

namespace nerbo {

std::unique_ptr<Registry> MakeMemoryRegistry();

// Creates the settings key level by level, as an installation leaves it,
// and gives its handle.
RegKey CreatedSettingsKey(Registry& registry);

}  // namespace nerbo
