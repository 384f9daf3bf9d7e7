// Feeds arbitrary text to the registry file reader: whatever it accepts must
// be written back in a form that it reads as the very same tree, and writing
// that again must give the same text; a read of a few keys builds of each
// what the whole tree holds of it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "registry/registry_file_format.h"
#include "support/registry_dump.h"

namespace {

// What a read of `keys` needs of the whole tree: each key's values, its
// subkeys' names and the keys above it.
nerbo::RegistryTree PartFor(nerbo::RegistryTree& whole, const std::vector<nerbo::RegistryPath>& keys) {
  nerbo::RegistryTree part;
  bool inserted = false;
  for (const nerbo::RegistryPath& key : keys) {
    nerbo::RegistryNode* from = whole.Root(key.root);
    nerbo::RegistryNode* to = part.Root(key.root);
    for (const std::string& name : key.names) {
      from = from->FindSubkey(name);
      if (!from) break;
      to = &to->AddSubkey(from->name, &inserted);
    }
    if (!from) continue;
    for (const nerbo::RegistryValue& value : from->values) to->SetValue(value.name, value.type, value.data);
    for (const nerbo::RegistryNode& subkey : from->subkeys) to->AddSubkey(subkey.name, &inserted);
  }
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nerbo::RegistryFileText checked;
  nerbo::RegistryFileError error;
  if (!checked.Check(std::string_view(reinterpret_cast<const char*>(data), size), &error)) {
    NERBO_FUZZ_CHECK(error.line >= 1 && !error.message.empty());
    return 0;
  }
  nerbo::RegistryTree tree;
  checked.Build(nullptr, &tree);
  const std::vector<nerbo::RegistryPath> keys = {
      {nerbo::kClassesRoot, {"a"}}, {nerbo::kLocalMachine, {}}, {nerbo::kClassesRoot, {"A", "b"}}};
  nerbo::RegistryTree focused;
  checked.Build(&keys, &focused);
  NERBO_FUZZ_CHECK(nerbo::DumpRegistryTree(focused) == nerbo::DumpRegistryTree(PartFor(tree, keys)));

  std::string formatted = nerbo::FormatRegistryFile(tree);
  nerbo::RegistryTree again;
  NERBO_FUZZ_CHECK(nerbo::ParseRegistryFile(formatted, &again, &error));
  NERBO_FUZZ_CHECK(nerbo::DumpRegistryTree(again) == nerbo::DumpRegistryTree(tree));
  NERBO_FUZZ_CHECK(nerbo::FormatRegistryFile(again) == formatted);
  return 0;
}
