#include "run/class_name_reference.h"

#include <algorithm>
#include <cstring>

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

}  // namespace nerbo
