// Letter-case folding of ASCII letters only, as the tool compares switches
// and file names.
#pragma once

#include <string>

namespace nerbo {

char FoldCase(char c);
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace nerbo
