// The tool's installation for the desktop's file managers, beside the
// registry entries: desktop entries for class and source files, their icons
// and the user's default applications, all under the user's XDG directories.
// On Windows the Explorer reads the registry, and both calls do nothing.
#pragma once

#include <string>

#include "core/run_context.h"

namespace nerbo {

struct DesktopResult {
  bool done = true;
  std::string path;      // what could not be read, written or removed
  int error_number = 0;  // why, as the tool's error number
};

// Writes the entries that start `tool_path` (the sources' entry only
// `with_sources`) and makes them the user's default applications, keeping
// a record of what it replaced. Installing again changes nothing more.
DesktopResult InstallDesktopIntegration(const std::string& tool_path, bool with_sources);

// Removes what the record says the installation wrote and puts the replaced
// defaults back, byte for byte. Without a record there is nothing to do.
DesktopResult UninstallDesktopIntegration();

// Prints what could not be done on standard error and ends the run with
// `code` (kMsgDesktopInstallFailed or kMsgDesktopRemovalFailed).
[[noreturn]] void RaiseDesktopFailure(const RunContext& context, int code, const DesktopResult& result);

}  // namespace nerbo
