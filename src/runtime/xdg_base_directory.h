// The XDG base-directory rule, by which the tool finds its Linux files (the
// registry file, the desktop's entries). Linux only: the files that call it
// are the Linux ones.
#pragma once

#include <optional>
#include <string>

namespace nerbo {

// The directory that `variable` (XDG_CONFIG_HOME, XDG_DATA_HOME) names when
// it holds an absolute path, else `fallback` below an absolute $HOME; nothing
// without either. Relative values are ignored, as the rule says: the tool
// changes its working directory before it reads its files.
std::optional<std::string> XdgBaseDirectory(const char* variable, const char* fallback);

}  // namespace nerbo
