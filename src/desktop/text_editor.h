// The text editor the desktop's Edit action opens a source with: the user's
// own ($VISUAL, then $EDITOR), else one found on the PATH. Empty when there
// is none. Only the Linux desktop installation asks for it.
#pragma once

#include <string>
#include <vector>

namespace nerbo {

// The editor's program and its own arguments; the file goes after them.
std::vector<std::string> FindTextEditor();

}  // namespace nerbo
