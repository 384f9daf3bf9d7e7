// The argument vector the tool's entry receives: argument 0 is the full path
// of the tool's own program file, whatever was typed.
#pragma once

#include <string>
#include <vector>

namespace nerbo {

// On Windows the arguments come from the raw command line split by the
// tool's own rules; on Linux from argv as the shell split them.
std::vector<std::string> BuildArgumentVector(int argc, char** argv);

}  // namespace nerbo
