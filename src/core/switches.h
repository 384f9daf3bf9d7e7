// The command-line switches of the tool, written once for the launcher, the
// modes and the commands that registration builds.
#pragma once

namespace nerbo {

inline constexpr char kUninstallSwitch[] = "/u";                          // letter case ignored
inline constexpr char kPromptSwitch[] = "/ArgsToNerbo";                   // letter case ignored
inline constexpr char kRunAfterCompileSwitch[] = "/ExecuteAfterCompile";  // exact letter case

}  // namespace nerbo
