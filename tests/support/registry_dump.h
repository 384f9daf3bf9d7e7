// A whole-registry dump for tests that compare the registry before and after
// a run: every key and value, sorted, with exact types and bytes.
#pragma once

#include <memory>
#include <string>

#include "registry/registry.h"
#include "registry/registry_file_format.h"
#include "registry/registry_tree.h"
#include "registry/tree_backed_registry.h"

namespace nerbo {

// Every key and value, one per line, keys in order and values sorted by name,
// each value with its type, byte count and bytes (non-printable ones as \xNN),
// so that two dumps are equal exactly when the trees hold the same data.
std::string DumpRegistryTree(const RegistryTree& tree);

// The tree of a whole registry file's text, as a writer reads it; false,
// with *error, when the text is refused.
bool ParseRegistryFile(const std::string& text, RegistryTree* tree, RegistryFileError* error);

// A registry over `storage` (the memory registry's, the registry file's)
// whose whole content DumpRegistry shows, changes of an unfinished unit
// included.
std::unique_ptr<Registry> MakeDumpableRegistry(std::unique_ptr<TreeStorage> storage);

// Works on the registries of MakeDumpableRegistry; any other registry gives
// a text saying so, which no real dump can equal.
std::string DumpRegistry(Registry& registry);

}  // namespace nerbo
