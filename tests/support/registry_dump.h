// A whole-registry dump for tests that compare the registry before and after
// a run: every key and value, sorted, with exact types and bytes.
#pragma once

#include <string>

#include "runtime/registry.h"

namespace nerbo {

// Works on the memory registry and the hive file; any other registry gives
// a text saying so, which no real dump can equal.
std::string DumpRegistry(Registry& registry);

}  // namespace nerbo
