// The tool's two console inputs: the prompted argument line and the final
// key wait.
#pragma once

#include <string>

#include "runtime/console.h"

namespace nerbo {

inline constexpr std::size_t kInputLineLimit = 1023;  // characters kept of a line

// Reads one line of standard input (text mode) into `line`, without its line
// end; characters past kInputLineLimit are read and dropped. False at end of
// input before any character (line untouched) or on a read error (line set
// to what was read).
bool ReadInputLine(Console& console, std::string* line);

// Waits for a key press that counts (see KeyEndsWait) at the console input,
// whatever standard input is. -1 at once when there is no usable console.
int WaitForKey(Console& console);

}  // namespace nerbo
