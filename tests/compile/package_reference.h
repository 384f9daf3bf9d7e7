// The package scan written the plainest way, for the tests and the fuzz
// target to hold the scanner against: the whole text in memory, cut at its
// first Ctrl+Z, its unicode escapes translated as the Java specification
// words the rule, then lexed with lookahead from one index.
#pragma once

#include <string>

namespace nerbo {

int ReferencePackageDepth(const std::string& bytes);

}  // namespace nerbo
