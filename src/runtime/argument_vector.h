// The argument vector the tool's entry receives: argument 0 is the full path
// of the tool's own program file, whatever was typed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace nerbo {

// On Windows the arguments come from the raw command line split by the
// tool's own rules; on Linux from argv as the shell split them.
std::vector<std::string> BuildArgumentVector(int argc, char** argv);

// Whether argument `index` of that vector lost characters on its way into the
// 8-bit command line: Windows puts '?' (or a look-alike) for each character
// the ANSI code page lacks, and the file search would take '?' as a wildcard.
// Never on Linux, where the arguments are the bytes given.
bool ArgumentLostCharacters(std::size_t index);

}  // namespace nerbo
