// Feeds arbitrary bytes to the package scanner as a source file's content,
// in reads whose sizes the input picks, and holds its depth against the
// plain reference lexer.
//
// Input: byte 0 picks the size of the reads and whether the data ends in a
// read error; the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "compile/package_reference.h"
#include "compile/package_scanner.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t block = 1 + (data[0] & 0x7f) * 37;
  const bool read_error = (data[0] & 0x80) != 0;
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

  std::size_t position = 0;
  int depth = nerbo::ScanPackageDepth([&](char* buffer, std::size_t wanted) -> long {
    if (position == file.size()) return read_error ? -1 : 0;
    std::size_t count = std::min({wanted, block, file.size() - position});
    file.copy(buffer, count, position);
    position += count;
    return static_cast<long>(count);
  });
  // A read error ends the text as its end does.
  NERBO_FUZZ_CHECK(depth == nerbo::ReferencePackageDepth(file));
  return 0;
}
