// The package scan written the plainest way, for the tests and the fuzz
// target to hold the scanner against: the whole text in memory, cut at its
// first Ctrl+Z, its \uXXXX escapes translated as Java translates them before
// it reads anything else, then lexed with lookahead from one index.
#pragma once

#include <string>

namespace nerbo {

int ReferencePackageDepth(const std::string& bytes);

}  // namespace nerbo
