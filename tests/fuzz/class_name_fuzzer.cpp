// Checks that the class-name scanner stays inside its window and gives the
// same result as the byte-by-byte reference, and that the class run's name,
// from two reads at most, is the plain reader's of this_class or the scan's.
//
// Input: byte 0 picks the name's length, bytes 1-2 where in the file the
// name is taken from (so that it occurs), byte 3 how many filler bytes, and
// of which kind, go ahead of the input, moving its entries over the window
// edges. The file is the filler followed by the whole input; the class file
// is the input with the magic number for its first four bytes, so that a
// class file given as input is read as it is.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "run/class_name_reference.h"
#include "run/class_name_scanner.h"
#include "run/qualified_class_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const char fillers[] = {'x', '\0', '/', '\x01'};
  std::string file(static_cast<std::size_t>(data[3] % 64) * 67, fillers[data[3] >> 6]);
  file.append(reinterpret_cast<const char*>(data), size);

  // Mostly short names; now and then one around the longest that can qualify.
  std::size_t length = data[0] < 240 ? 1 + data[0] % 24 : 120 + (data[0] - 240);
  std::size_t from = ((static_cast<std::size_t>(data[1]) << 8) | data[2]) % file.size();
  std::string name = file.substr(from, length);

  std::size_t position = 0;
  nerbo::ClassNameResult fast = nerbo::ScanQualifiedClassName(
      [&](unsigned char* buffer, std::size_t wanted) -> long {
        std::size_t count = std::min(wanted, file.size() - position);
        std::memcpy(buffer, file.data() + position, count);
        position += count;
        return static_cast<long>(count);
      },
      name);
  nerbo::ClassNameResult reference = nerbo::ReferenceQualifiedClassName(file, name);
  NERBO_FUZZ_CHECK(fast.qualified_name == reference.qualified_name);
  NERBO_FUZZ_CHECK(fast.package_depth == reference.package_depth);
  NERBO_FUZZ_CHECK(fast.jbuilder_note == reference.jbuilder_note);

  const std::string class_file = "\xCA\xFE\xBA\xBE" + file.substr(file.size() - size + 4);
  int reads = 0;
  nerbo::ClassNameResult named = nerbo::ReadQualifiedClassName(
      [&] {
        ++reads;
        return [&, position = std::size_t{0}](unsigned char* buffer, std::size_t wanted) mutable -> long {
          std::size_t count = std::min(wanted, class_file.size() - position);
          std::memcpy(buffer, class_file.data() + position, count);
          position += count;
          return static_cast<long>(count);
        };
      },
      name);
  reference = nerbo::ReferenceClassRunName(class_file, name);
  NERBO_FUZZ_CHECK(reads <= 2 && named.qualified_name == reference.qualified_name);
  NERBO_FUZZ_CHECK(named.package_depth == reference.package_depth &&
                   named.jbuilder_note == reference.jbuilder_note);
  NERBO_FUZZ_CHECK(named.own_name == reference.own_name &&
                   named.module_descriptor == reference.module_descriptor);
  return 0;
}
