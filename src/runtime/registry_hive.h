// The Linux registry: a REGEDIT4 text file (see registry_hive_format.h) that
// every process of the tool shares. Each change is made under an exclusive
// lock on a lock file beside the hive and lands by renaming a synced copy over
// the hive, so a crash leaves the old or the new file and no update is lost.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "runtime/registry.h"

namespace nerbo {

// Results beyond the seam's own, as the Windows registry names them.
inline constexpr long kRegBadDb = 1009;     // the hive cannot be read
inline constexpr long kRegIoFailed = 1016;  // the new hive could not be written

// The exit status after an unreadable hive; no message code uses it.
inline constexpr int kUnreadableHiveExitStatus = 78;

// Told why the hive cannot be read (the message names the file, and the line
// when the text is at fault). When it returns, the call fails with kRegBadDb
// and the file stays as it is.
using UnreadableHiveHandler = std::function<void(const std::string& message)>;

// Prints the message on standard error and ends the process with
// kUnreadableHiveExitStatus: the tool must not go on with a registry it
// cannot see.
void ExitOnUnreadableHive(const std::string& message);

// $NERBO_REGISTRY, else ${XDG_CONFIG_HOME:-$HOME/.config}/nerbo/registry.reg;
// empty when none of these is set.
std::string HivePathFromEnvironment();

// The file and its directories are created by the first change.
std::unique_ptr<Registry> MakeHiveRegistry(const std::string& path, UnreadableHiveHandler onUnreadable);

}  // namespace nerbo
