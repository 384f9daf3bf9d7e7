// The ways installation and uninstallation fail that the message table does
// not cover: each prints its own line to standard error and ends the run with
// its own code (above the table, so the end of the run prints nothing more).
#pragma once

#include "runtime/console.h"

namespace nerbo {

inline constexpr int kMsgToolPathTooLong = 18;
inline constexpr int kMsgInstallDirectoryTooLong = 19;
inline constexpr int kMsgRegistryWriteRefused = 20;
inline constexpr int kMsgRemovalRefused = 21;
// The desktop's own files (Linux) could not be written or removed.
inline constexpr int kMsgDesktopInstallFailed = 22;
inline constexpr int kMsgDesktopRemovalFailed = 23;

// Prints the failure's line and raises its code. `registry_result` (a
// registry result code) adds the text of that error where the line names one.
[[noreturn]] void RaiseRegistrationFailure(Console& console, int code, long registry_result = 0);

}  // namespace nerbo
