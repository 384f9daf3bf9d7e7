// Feeds arbitrary bytes to the package scanner as a source file's content:
// it must stay inside its piece buffer and give a depth that one piece can
// hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "compile/package_scanner.h"
#include "runtime/console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t position = 0;
  nerbo::TextModeReader text([&]() -> int { return position < size ? data[position++] : nerbo::kEndOfInput; });
  int depth = nerbo::ScanPackageDepth(text);
  if (depth < 0 || depth > 2000) std::abort();
  return 0;
}
