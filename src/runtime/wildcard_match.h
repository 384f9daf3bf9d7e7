// The name rules of a search on Windows, for the Linux files seam: wildcard
// matching and the order in which NTFS lists a directory, both ignoring the
// letter case of ASCII letters.
#pragma once

#include <string>

namespace nerbo {

// '*' stands for any run of characters (none too), '?' for exactly one.
bool MatchesWildcardIgnoringCase(const std::string& pattern, const std::string& name);

// NTFS orders names by their upper-case form, so "a_" comes after "AB";
// names equal but for case are ordered by their bytes to keep the choice
// stable.
bool ComesFirstIgnoringCase(const std::string& left, const std::string& right);

}  // namespace nerbo
