// The Linux registry: a REGEDIT4 text file (registry_file_format.h) that
// every process of the tool shares, kept by a store for a TreeBackedRegistry.
// Changes are made under an exclusive lock on a lock file beside the registry
// file (beside a link's target) and land by renaming a synced copy over it,
// so a crash leaves the old or the new file and no update is lost. A unit of
// changes (BeginChanges) holds the lock until it ends and writes the file
// once, at CommitChanges; a single change outside a unit is a unit of its
// own. Reads take no lock and write nothing.
#pragma once

#include <memory>
#include <string>

#include "registry/system_registry.h"
#include "registry/tree_backed_registry.h"

namespace nerbo {

// $NERBO_REGISTRY (a relative one taken from the current directory), else
// nerbo/registry.reg in the XDG configuration directory; empty when neither
// is known.
std::string RegistryFilePathFromEnvironment();

// The store of the registry file at `path`; the file and its directories are
// created by the first change.
std::unique_ptr<TreeStorage> MakeRegistryFileStore(const std::string& path,
                                                   UnreadableRegistryHandler on_unreadable);

}  // namespace nerbo
