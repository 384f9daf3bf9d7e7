// The Linux registry: a REGEDIT4 text file (see registry_hive_format.h) that
// every process of the tool shares. Each change is made under an exclusive
// lock on a lock file beside the hive and lands by renaming a synced copy over
// the hive, so a crash leaves the old or the new file and no update is lost.
#pragma once

#include <memory>
#include <string>

#include "runtime/registry.h"

namespace nerbo {

// $NERBO_REGISTRY, else ${XDG_CONFIG_HOME:-$HOME/.config}/nerbo/registry.reg;
// empty when none of these is set.
std::string HivePathFromEnvironment();

// The file and its directories are created by the first change.
std::unique_ptr<Registry> MakeHiveRegistry(const std::string& path, UnreadableRegistryHandler on_unreadable);

}  // namespace nerbo
