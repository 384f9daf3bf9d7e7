#include "runtime/portable/wildcard_match.h"

#include <cstddef>

#include "runtime/portable/ascii.h"

namespace nerbo {

bool MatchesWildcardIgnoringCase(const std::string& pattern, const std::string& name) {
  // Greedy matching with one backtrack point: the last '*' seen and the name
  // position it has swallowed up to. Linear in practice, never exponential.
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || UpperCase(pattern[p]) == UpperCase(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace nerbo
