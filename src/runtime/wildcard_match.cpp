#include "runtime/wildcard_match.h"

#include <cstddef>

namespace nerbo {
namespace {

unsigned char Upper(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

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
    } else if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
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

bool ComesFirstIgnoringCase(const std::string& left, const std::string& right) {
  std::size_t common = left.size() < right.size() ? left.size() : right.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (Upper(left[i]) != Upper(right[i])) return Upper(left[i]) < Upper(right[i]);
  }
  if (left.size() != right.size()) return left.size() < right.size();
  return left < right;
}

}  // namespace nerbo
