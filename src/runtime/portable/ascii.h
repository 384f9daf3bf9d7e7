// Letter case of ASCII letters only, as the tool compares switches, file
// names and registry names; other bytes compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace nerbo {

char UpperCase(char c);

// Compares the upper-case forms, as the registry and NTFS order names (so
// "_" comes after the letters): negative, zero or positive.
int CompareIgnoringCase(std::string_view a, std::string_view b);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The order of CompareIgnoringCase, with names that differ only in case
// ordered by their bytes, so that a choice among them is stable.
bool ComesFirstIgnoringCase(const std::string& left, const std::string& right);

}  // namespace nerbo
