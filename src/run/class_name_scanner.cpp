#include "run/class_name_scanner.h"

#include <cstring>
#include <memory>
#include <utility>

namespace nerbo {
namespace {

// Consecutive windows overlap by more than the 131 bytes the tests examine
// for a qualifying entry (two length bytes, at most 127 bytes of text and the
// two bytes after it), so an entry cut by one window's end lies whole in the
// next one.
constexpr std::size_t kWindowSize = 4200;
constexpr std::size_t kOverlap = 200;
constexpr std::size_t kAdvance = kWindowSize - kOverlap;

// The length byte of an entry is read as a signed byte, so 127 is the longest
// entry text that can be accepted.
constexpr std::size_t kLongestQualifiedName = 127;

// A source that claims more bytes than asked for must not widen the window.
long ReadInto(const ClassByteSource& source, unsigned char* buffer, std::size_t size) {
  long count = source(buffer, size);
  if (count < -1) return -1;
  if (count > static_cast<long>(size)) return static_cast<long>(size);
  return count;
}

struct EntryFind {
  std::size_t start = 0;  // an accepted entry never starts at 0: its length bytes precede it
  bool jbuilder_note = false;
};

// Tests every occurrence of `name` among the first `valid` bytes of the
// window whose test bytes all lie among those bytes. A match at position 0
// or 1 leaves no room for the two length bytes before it and is passed over:
// it was tested with more bytes before it at position 4000 or 4001 of the
// window before.
EntryFind ScanWindow(const unsigned char* window, std::size_t valid, const std::string& name) {
  EntryFind find;
  const std::size_t length = name.size();
  if (valid < length + 2) return find;
  const unsigned char first = static_cast<unsigned char>(name[0]);
  // The zero test reads position P + L + 1, so P + L + 2 <= valid.
  const unsigned char* const end = window + (valid - length - 1);
  const unsigned char* at = window + 2;
  while (at < end) {
    at = static_cast<const unsigned char*>(std::memchr(at, first, static_cast<std::size_t>(end - at)));
    if (at == nullptr) break;
    if (std::memcmp(at + 1, name.data() + 1, length - 1) == 0 && at[length + 1] == 0 && at[-1] == '/') {
      // The nearest byte 0 before the '/' should be the high length byte of
      // the entry; position 0 itself is never examined.
      std::size_t position = static_cast<std::size_t>(at - window);
      std::size_t zero = position - 1;
      while (zero > 0 && window[zero] != 0) --zero;
      long text_length = static_cast<long>(position + length) - static_cast<long>(zero + 2);
      if (static_cast<signed char>(window[zero + 1]) == text_length) {
        find.start = zero + 2;
        // The tag after the entry: 1 for a text entry, 7 for the class
        // reference that JBuilder puts there.
        find.jbuilder_note = at[length] != 1;
        return find;
      }
    }
    ++at;
  }
  return find;
}

bool CanQualify(const std::string& name) {
  // A file name holds no byte 0, and a name longer than the longest entry
  // can never end one.
  return !name.empty() && name.size() <= kLongestQualifiedName && name.find('\0') == std::string::npos;
}

}  // namespace

ClassNameResult ScanQualifiedClassName(const ClassByteSource& source, const std::string& simple_class_name) {
  ClassNameResult result;
  result.qualified_name = simple_class_name;
  if (!CanQualify(simple_class_name)) return result;

  std::unique_ptr<unsigned char[]> window(new unsigned char[kWindowSize]);
  long valid = ReadInto(source, window.get(), kWindowSize);
  EntryFind find;
  for (;;) {
    if (valid > 0) find = ScanWindow(window.get(), static_cast<std::size_t>(valid), simple_class_name);
    if (find.start != 0 || valid != static_cast<long>(kWindowSize)) break;
    std::memcpy(window.get(), window.get() + kAdvance, kOverlap);
    // A failed read counts as -1 bytes: the carried bytes less one are
    // scanned once more and the scanning ends.
    valid = static_cast<long>(kOverlap) + ReadInto(source, window.get() + kOverlap, kAdvance);
  }
  if (find.start == 0) return result;

  const std::size_t text_length = window[find.start - 1];
  std::string qualified(reinterpret_cast<const char*>(window.get() + find.start), text_length);
  for (char& byte : qualified) {
    if (byte == '/') {
      byte = '.';
      ++result.package_depth;
    }
  }
  result.qualified_name = std::move(qualified);
  result.jbuilder_note = find.jbuilder_note;
  return result;
}

}  // namespace nerbo
