// The package scan written byte by byte, the plainest reading of the rules,
// for the tests and the fuzz target to hold the scanner against.
#pragma once

#include <string>

namespace nerbo {

// The depth of `bytes` read as a text-mode stream; with `read_error` the data
// ends in a read error instead of its end.
int ReferencePackageDepth(const std::string& bytes, bool read_error);

}  // namespace nerbo
