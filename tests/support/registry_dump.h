// A whole-registry dump for tests that compare the registry before and after
// a run: every key and value, sorted, with exact types and bytes.
#pragma once

#include <string>

#include "registry/registry.h"
#include "registry/registry_tree.h"

namespace nerbo {

// Every key and value, one per line, keys in order and values sorted by name,
// each value with its type, byte count and bytes (non-printable ones as \xNN),
// so that two dumps are equal exactly when the trees hold the same data.
std::string DumpRegistryTree(const RegistryTree& tree);

// Works on the memory registry and the registry file; any other registry gives
// a text saying so, which no real dump can equal.
std::string DumpRegistry(Registry& registry);

}  // namespace nerbo
