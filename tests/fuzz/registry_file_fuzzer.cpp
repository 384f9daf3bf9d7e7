// Feeds arbitrary text to the registry file parser: whatever it accepts must be
// written back in a form that it reads as the very same tree, and writing
// that again must give the same text; a focused read accepts and rejects
// alike, with the same line and message.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "registry/registry_file_format.h"
#include "support/registry_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  nerbo::RegistryTree tree;
  nerbo::RegistryFileError error;
  const bool accepted = nerbo::ParseRegistryFile(text, &tree, &error);
  // A reader's focus changes what the tree holds, never whether the text is
  // accepted; once the text is checked, passing over the rest gives the
  // same tree.
  nerbo::RegistryFileFocus focus{{{nerbo::kClassesRoot, {"a"}}, {nerbo::kLocalMachine, {}}}, false};
  nerbo::RegistryTree focused;
  nerbo::RegistryFileError focused_error;
  NERBO_FUZZ_CHECK(nerbo::ParseRegistryFile(text, &focused, &focused_error, &focus) == accepted);
  if (!accepted) {
    NERBO_FUZZ_CHECK(error.line >= 1 && focused_error.line == error.line &&
                     focused_error.message == error.message);
    return 0;
  }
  focus.text_checked = true;
  nerbo::RegistryTree passed_over;
  NERBO_FUZZ_CHECK(nerbo::ParseRegistryFile(text, &passed_over, &focused_error, &focus));
  NERBO_FUZZ_CHECK(nerbo::DumpRegistryTree(passed_over) == nerbo::DumpRegistryTree(focused));
  // A key below one read before: reading only the sections found then gives
  // what reading the whole text for all the keys gives.
  const nerbo::RegistryPath deeper{nerbo::kClassesRoot, {"a", "b"}};
  focus.keys.push_back(deeper);
  focus.only_sections = true;
  NERBO_FUZZ_CHECK(nerbo::ParseRegistryFile(text, &passed_over, &focused_error, &focus));
  nerbo::RegistryFileFocus all_keys{focus.keys};
  NERBO_FUZZ_CHECK(nerbo::ParseRegistryFile(text, &focused, &focused_error, &all_keys));
  NERBO_FUZZ_CHECK(nerbo::DumpRegistryTree(passed_over) == nerbo::DumpRegistryTree(focused));
  std::string formatted = nerbo::FormatRegistryFile(tree);
  nerbo::RegistryTree again;
  NERBO_FUZZ_CHECK(nerbo::ParseRegistryFile(formatted, &again, &error));
  NERBO_FUZZ_CHECK(nerbo::DumpRegistryTree(again) == nerbo::DumpRegistryTree(tree));
  NERBO_FUZZ_CHECK(nerbo::FormatRegistryFile(again) == formatted);
  return 0;
}
