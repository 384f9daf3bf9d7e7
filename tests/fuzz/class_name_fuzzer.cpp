// Checks that the class-name scanner stays inside its window and gives the
// same result as the byte-by-byte reference.
//
// Input: byte 0 picks the name's length, bytes 1-2 where in the file the
// name is taken from (so that it occurs), byte 3 how many filler bytes, and
// of which kind, go ahead of the input, moving its entries over the window
// edges. The file is the filler followed by the whole input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "run/class_name_reference.h"
#include "run/class_name_scanner.h"

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
  return 0;
}
