// Names in UTF-8 (as class files and Java hold them) in the 8-bit encoding
// of the platform's file names and command lines.
#pragma once

#include <optional>
#include <string>

namespace nerbo {

// The same bytes on Linux; on Windows the name in the ANSI code page, or
// nothing when a character has no exact form there: a best-fit look-alike (a
// plain letter for an accented one) would name another file as surely as '?'
// does. With the UTF-8 code page every character has one.
std::optional<std::string> NativeNameFromUtf8(const std::string& utf8);

}  // namespace nerbo
