// Feeds arbitrary text to the hive parser: whatever it accepts must be
// written back in a form that it reads as the very same tree, and writing
// that again must give the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "runtime/registry_hive_format.h"
#include "support/registry_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  nerbo::RegistryTree tree;
  nerbo::HiveError error;
  if (!nerbo::ParseHive(text, &tree, &error)) {
    NERBO_FUZZ_CHECK(error.line >= 1);
    return 0;
  }
  std::string formatted = nerbo::FormatHive(tree);
  nerbo::RegistryTree again;
  NERBO_FUZZ_CHECK(nerbo::ParseHive(formatted, &again, &error));
  NERBO_FUZZ_CHECK(nerbo::DumpRegistryTree(again) == nerbo::DumpRegistryTree(tree));
  NERBO_FUZZ_CHECK(nerbo::FormatHive(again) == formatted);
  return 0;
}
