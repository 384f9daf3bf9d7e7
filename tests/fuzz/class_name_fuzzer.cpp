// Checks that the class-name scanner stays inside its window and gives the
// same result as the byte-by-byte reference, and that the class run's name
// is the class file's own as the plain reference reads it, or else the
// scan's, from at most two reads.
//
// Input: byte 0 picks the name's length, bytes 1-2 where in the file the
// name is taken from (so that it occurs), byte 3 how many filler bytes, and
// of which kind, go ahead of the input, moving its entries over the window
// edges. The scan's file is the filler followed by the whole input; the
// class file is the input with its first four bytes made the magic number,
// so that a class file given whole as input is read as it is.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "run/class_name_reference.h"
#include "run/class_name_scanner.h"
#include "run/qualified_class_name.h"

namespace {

nerbo::ClassByteSource Serve(const std::string& file, std::size_t* position) {
  return [&file, position](unsigned char* buffer, std::size_t wanted) -> long {
    std::size_t count = std::min(wanted, file.size() - *position);
    std::memcpy(buffer, file.data() + *position, count);
    *position += count;
    return static_cast<long>(count);
  };
}

bool Same(const nerbo::ClassNameResult& a, const nerbo::ClassNameResult& b) {
  return a.qualified_name == b.qualified_name && a.package_depth == b.package_depth &&
         a.jbuilder_note == b.jbuilder_note && a.own_name == b.own_name &&
         a.module_descriptor == b.module_descriptor;
}

}  // namespace

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
  nerbo::ClassNameResult fast = nerbo::ScanQualifiedClassName(Serve(file, &position), name);
  NERBO_FUZZ_CHECK(Same(fast, nerbo::ReferenceQualifiedClassName(file, name)));

  std::string class_file = "\xCA\xFE\xBA\xBE" + file.substr(file.size() - size + 4);
  std::size_t reads = 0;
  std::size_t class_position = 0;
  nerbo::ClassNameResult named = nerbo::ReadQualifiedClassName(
      [&]() {
        ++reads;
        class_position = 0;
        return Serve(class_file, &class_position);
      },
      name);
  NERBO_FUZZ_CHECK(reads <= 2);
  NERBO_FUZZ_CHECK(Same(named, nerbo::ReferenceClassRunName(class_file, name)));
  return 0;
}
