#include "runtime/portable/ascii.h"

namespace nerbo {

char UpperCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    unsigned char x = static_cast<unsigned char>(UpperCase(a[i]));
    unsigned char y = static_cast<unsigned char>(UpperCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

bool ComesFirstIgnoringCase(const std::string& left, const std::string& right) {
  int order = CompareIgnoringCase(left, right);
  return order != 0 ? order < 0 : left < right;
}

}  // namespace nerbo
