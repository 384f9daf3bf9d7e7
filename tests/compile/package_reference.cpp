#include "compile/package_reference.h"

#include <cctype>
#include <cstring>

namespace nerbo {
namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A backslash begins an escape when an even number of backslashes stands
// right before it in the raw text, one or more 'u' follow it, then four
// hexadecimal digits.
std::string Translated(const std::string& raw) {
  std::string text;
  std::size_t i = 0;
  while (i < raw.size()) {
    if (raw[i] == '\\') {
      std::size_t run = 0;
      while (run < i && raw[i - 1 - run] == '\\') ++run;
      std::size_t j = i + 1;
      while (j < raw.size() && raw[j] == 'u') ++j;
      if (run % 2 == 0 && j > i + 1 && j + 4 <= raw.size()) {
        int value = 0;
        bool hex = true;
        for (std::size_t k = j; k < j + 4; ++k) {
          hex = hex && Hex(raw[k]) >= 0;
          value = value * 16 + Hex(raw[k]);
        }
        if (hex) {
          text += value < 0x80 ? static_cast<char>(value) : static_cast<char>(0x80);
          i = j + 4;
          continue;
        }
      }
    }
    text += raw[i++];
  }
  return text;
}

bool IsNamePart(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return std::isalnum(b) || b == '_' || b == '$' || b >= 0x80;
}

bool At(const std::string& text, std::size_t i, const char* what) {
  return text.compare(i, std::strlen(what), what) == 0;
}

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The index past the comment or literal that begins at `i`, or `i` when none
// does.
std::size_t Skipped(const std::string& text, std::size_t i) {
  const std::size_t n = text.size();
  if (At(text, i, "//")) {
    while (i < n && !IsLineEnd(text[i])) ++i;
    return i;
  }
  if (At(text, i, "/*")) {
    std::size_t close = text.find("*/", i + 2);
    return close == std::string::npos ? n : close + 2;
  }
  if (At(text, i, "\"\"\"")) {
    for (i += 3; i < n; ++i) {
      if (text[i] == '\\') {
        ++i;
      } else if (At(text, i, "\"\"\"")) {
        return i + 3;
      }
    }
    return n;
  }
  if (text[i] == '"' || text[i] == '\'') {
    const char quote = text[i];
    for (++i; i < n; ++i) {
      if (text[i] == '\\') {
        ++i;
      } else if (text[i] == quote) {
        return i + 1;
      } else if (IsLineEnd(text[i])) {
        return i;
      }
    }
    return n;
  }
  return i;
}

}  // namespace

int ReferencePackageDepth(const std::string& bytes) {
  const std::string text = Translated(bytes.substr(0, bytes.find('\x1A')));
  const std::size_t n = text.size();
  std::size_t i = 0;
  int depth = 0;
  while (i < n) {
    // In the name after the keyword only comments are skipped.
    std::size_t past = depth == 0 || At(text, i, "/") ? Skipped(text, i) : i;
    if (past != i) {
      i = past;
    } else if (depth == 0) {
      bool word = (i == 0 || !IsNamePart(text[i - 1])) && At(text, i, "package") &&
                  (i + 7 == n || !IsNamePart(text[i + 7]));
      if (word) depth = 1;
      i += word ? 7 : 1;
    } else if (text[i] == ';') {
      return depth;
    } else {
      if (text[i] == '.' && ++depth == 32768) return depth;
      ++i;
    }
  }
  return depth;
}

}  // namespace nerbo
