// The Linux registry: a REGEDIT4 text file (see registry_file_format.h) that
// every process of the tool shares. Changes are made under an exclusive lock
// on a lock file beside the registry file (beside a link's target) and land by
// renaming a synced copy over the registry file, so a crash leaves the old or the new
// file and no update is lost. A
// unit of changes (BeginChanges) holds the lock until it ends and writes the
// file once, at CommitChanges; a single change outside a unit writes it at
// once. Reads take no lock and write nothing.
#pragma once

#include <memory>
#include <string>

#include "registry/system_registry.h"

namespace nerbo {

// $NERBO_REGISTRY (a relative one taken from the current directory), else
// ${XDG_CONFIG_HOME:-$HOME/.config}/nerbo/registry.reg; empty when none of these is set.
std::string RegistryFilePathFromEnvironment();

// The file and its directories are created by the first change.
std::unique_ptr<Registry> MakeRegistryFile(const std::string& path, UnreadableRegistryHandler on_unreadable);

}  // namespace nerbo
