// The wildcard rule of a search on Windows, for the Linux files seam,
// ignoring the letter case of ASCII letters.
#pragma once

#include <string>

namespace nerbo {

// '*' stands for any run of characters (none too), '?' for exactly one.
bool MatchesWildcardIgnoringCase(const std::string& pattern, const std::string& name);

}  // namespace nerbo
