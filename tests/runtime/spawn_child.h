// The platform half of the spawn tests' child: the test program re-runs
// itself and, selected by the environment, reports what it received.
#pragma once

#include <string>
#include <vector>

namespace nerbo {

// True where the child reports its raw command line (Windows); elsewhere it
// reports its argument vector.
extern const bool kChildReportsRawLine;
// True where a child can be ended by a signal.
extern const bool kChildCanBeKilled;

std::string OwnProgramPath();

// The raw command line as the only entry, or the argument vector.
std::vector<std::string> ReceivedArguments();

// Ends the process at once with `status`, or by a signal for "signal".
[[noreturn]] void EndChild(const std::string& how);

}  // namespace nerbo
