#include "compile/package_reference.h"

#include <cctype>
#include <cstring>

namespace nerbo {
namespace {

// A backslash begins an escape when an even number of backslashes stands
// right before it in the raw text, one or more 'u' follow it, then four
// hexadecimal digits.
std::string Translated(const std::string& raw) {
  std::string text;
  for (std::size_t i = 0; i < raw.size();) {
    std::size_t run = 0, j = i + 1;
    while (run < i && raw[i - 1 - run] == '\\') ++run;
    while (j < raw.size() && raw[j] == 'u') ++j;
    bool escape = raw[i] == '\\' && run % 2 == 0 && j > i + 1 && j + 4 <= raw.size();
    for (std::size_t k = j; escape && k < j + 4; ++k)
      escape = std::isxdigit(static_cast<unsigned char>(raw[k])) != 0;
    if (!escape) {
      text += raw[i++];
      continue;
    }
    int value = std::stoi(raw.substr(j, 4), nullptr, 16);
    text += value < 0x80 ? static_cast<char>(value) : static_cast<char>(0x80);
    i = j + 4;
  }
  return text;
}

bool IsNamePart(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c & 0x80;
}

bool At(const std::string& text, std::size_t i, const char* what) {
  return text.compare(i, std::strlen(what), what) == 0;
}

// The index past the comment or literal that begins at `i`, or `i` when none
// does. A literal ends at its closing quote or its line's end; a backslash in
// one takes the character after it.
std::size_t Skipped(const std::string& text, std::size_t i) {
  if (At(text, i, "//")) return std::min(text.find_first_of("\n\r", i), text.size());
  if (At(text, i, "/*")) return std::min(text.find("*/", i + 2), text.size() - 2) + 2;
  const bool block = At(text, i, "\"\"\"");
  if (!block && text[i] != '"' && text[i] != '\'') return i;
  const char* end = block ? "\"\"\"" : text[i] == '"' ? "\"" : "'";
  for (i += std::strlen(end); i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (At(text, i, end)) {
      return i + std::strlen(end);
    } else if (!block && (text[i] == '\n' || text[i] == '\r')) {
      return i;
    }
  }
  return text.size();
}

}  // namespace

int ReferencePackageDepth(const std::string& bytes) {
  const std::string text = Translated(bytes.substr(0, bytes.find('\x1A')));
  int depth = 0;
  for (std::size_t i = 0; i < text.size();) {
    // In the name after the keyword only comments are skipped.
    std::size_t past = depth == 0 || text[i] == '/' ? Skipped(text, i) : i;
    if (past != i) {
      i = past;
    } else if (depth == 0) {
      bool word = (i == 0 || !IsNamePart(text[i - 1])) && At(text, i, "package") &&
                  (i + 7 == text.size() || !IsNamePart(text[i + 7]));
      depth = word ? 1 : 0;
      i += word ? 7 : 1;
    } else if (text[i] == ';' || (text[i] == '.' && ++depth == 32768)) {
      return depth;
    } else {
      ++i;
    }
  }
  return depth;
}

}  // namespace nerbo
