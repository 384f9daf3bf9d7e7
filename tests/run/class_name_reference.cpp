#include "run/class_name_reference.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace nerbo {

ClassNameResult ReferenceQualifiedClassName(const std::string& file, const std::string& simple_class_name) {
  ClassNameResult result;
  result.qualified_name = simple_class_name;
  const long length = static_cast<long>(simple_class_name.size());
  if (length == 0 || length > 127 || simple_class_name.find('\0') != std::string::npos) return result;

  unsigned char window[4200];
  std::size_t file_position = 0;
  auto read = [&](unsigned char* buffer, std::size_t size) {
    std::size_t count = std::min(size, file.size() - file_position);
    std::memcpy(buffer, file.data() + file_position, count);
    file_position += count;
    return static_cast<long>(count);
  };

  long valid = read(window, 4200);
  long start = 0;
  bool note = false;
  for (;;) {
    for (long p = 0; p < valid && start == 0; ++p) {
      long matched = 0;
      while (matched < length && p + matched < valid &&
             window[p + matched] == static_cast<unsigned char>(simple_class_name[matched])) {
        ++matched;
      }
      if (matched < length) continue;
      // Candidates whose test bytes fall outside the valid bytes, or with no
      // room for two length bytes before them, are passed over.
      if (p < 2 || p + length + 1 >= valid) continue;
      if (window[p + length + 1] != 0) continue;
      bool next_is_not_text = window[p + length] != 1;
      if (window[p - 1] != '/') continue;
      long zero = p - 1;
      while (zero > 0 && window[zero] != 0) --zero;
      if (static_cast<signed char>(window[zero + 1]) == p + length - (zero + 2)) {
        start = zero + 2;
        note = next_is_not_text;
      }
    }
    if (start != 0 || valid != 4200) break;
    std::memmove(window, window + 4000, 200);
    valid = 200 + read(window + 200, 4000);
  }
  if (start == 0) return result;

  result.qualified_name.clear();
  for (long i = 0; i < window[start - 1]; ++i) {
    char byte = static_cast<char>(window[start + i]);
    if (byte == '/') {
      byte = '.';
      ++result.package_depth;
    }
    result.qualified_name += byte;
  }
  result.jbuilder_note = note;
  return result;
}

ClassNameResult ReferenceClassRunName(const std::string& file, const std::string& simple_class_name) {
  ClassNameResult scanned = ReferenceQualifiedClassName(file, simple_class_name);
  auto number = [&](std::size_t at) {
    return at + 2 <= file.size()
               ? static_cast<unsigned char>(file[at]) << 8 | static_cast<unsigned char>(file[at + 1])
               : -1;
  };
  // What follows each tag; -2 for a text, whose length comes next.
  const int kLengths[] = {-1, -2, -1, 4, 4, 8, 8, 2, 2, 4, 4, 4, 4, -1, -1, 3, 2, 4, 4, 2, 2};
  if (file.compare(0, 4, "\xCA\xFE\xBA\xBE") != 0 || number(8) < 0) return scanned;
  const int count = number(8);
  std::vector<std::size_t> starts(count + 1, 0);  // 0 where no entry starts
  std::size_t at = 10;
  for (int index = 1; index < count; ++index) {
    int tag = at < file.size() ? static_cast<unsigned char>(file[at]) : 0;
    int length = tag <= 20 ? kLengths[tag] : -1;
    if (length == -2) length = 2 + number(at + 1);
    if (length < 0 || number(at + 1) < 0) return scanned;
    starts[index] = at;
    at += 1 + static_cast<std::size_t>(length);
    if ((tag == 5 || tag == 6) && ++index >= count) return scanned;
  }
  const int own = number(at + 2);
  if (own <= 0 || own >= count || starts[own] == 0 || file[starts[own]] != 7) return scanned;
  const int name = number(starts[own] + 1);
  if (name <= 0 || name >= count || starts[name] == 0 || file[starts[name]] != 1) return scanned;
  const std::string stored =
      file.substr(starts[name] + 3, static_cast<std::size_t>(number(starts[name] + 1)));
  // Modified UTF-8 to UTF-16 units, then the units to plain UTF-8.
  std::vector<std::uint32_t> units;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const auto c = [&](std::size_t k) {
      return k < stored.size() ? static_cast<unsigned char>(stored[k]) : 0;
    };
    const bool tail1 = (c(i + 1) & 0xC0) == 0x80, tail2 = (c(i + 2) & 0xC0) == 0x80;
    if (c(i) >= 0x01 && c(i) <= 0x7F) {
      units.push_back(c(i));
    } else if (c(i) >= 0xC2 && c(i) <= 0xDF && tail1) {
      units.push_back((c(i) & 0x1F) << 6 | (c(i + 1) & 0x3F));
      i += 1;
    } else if (c(i) >= 0xE0 && c(i) <= 0xEF && tail1 && tail2 && (c(i) > 0xE0 || c(i + 1) >= 0xA0)) {
      units.push_back((c(i) & 0x0F) << 12 | (c(i + 1) & 0x3F) << 6 | (c(i + 2) & 0x3F));
      i += 2;
    } else {
      return scanned;
    }
  }
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t code = units[i];
    if (code >= 0xDC00 && code < 0xE000) return scanned;
    if (code >= 0xD800 && code < 0xDC00) {
      if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] >= 0xE000) return scanned;
      code = 0x10000 + (code - 0xD800) * 0x400 + (units[++i] - 0xDC00);
    }
    if (code < 0x80) {
      text += static_cast<char>(code);
    } else if (code < 0x800) {
      text += {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
    } else if (code < 0x10000) {
      text += {static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)),
               static_cast<char>(0x80 | (code & 0x3F))};
    } else {
      text += {static_cast<char>(0xF0 | code >> 18), static_cast<char>(0x80 | (code >> 12 & 0x3F)),
               static_cast<char>(0x80 | (code >> 6 & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    }
  }
  ClassNameResult result{"", 0, false, true, (number(at) & 0x8000) != 0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool empty_part = c == '/' && (i == 0 || i + 1 == text.size() || text[i + 1] == '/');
    if (c == '.' || c == ';' || c == '[' || empty_part) return scanned;
    result.qualified_name += c == '/' ? '.' : text[i];
    result.package_depth += c == '/';
  }
  if (text.empty()) return scanned;
  result.jbuilder_note = scanned.jbuilder_note && scanned.qualified_name == result.qualified_name &&
                         scanned.package_depth == result.package_depth;
  return result;
}

}  // namespace nerbo
