// The registry file's text: the registry editor's REGEDIT4 format, one [key]
// section per key (empty keys included, so they survive), then its values:
//   @="Nerbo.exe"                  REG_SZ ending in its one zero, printable
//   "UninstallInfo"=dword:00000003 REG_DWORD of four bytes
//   "Run"=hex(1):43,3a,5c,...      anything else, byte for byte
// RegistryFileText reads it, FormatRegistryFile writes it; both are pure, so
// a fuzz target can drive them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_tree.h"

namespace nerbo {

struct RegistryFileError {
  int line = 0;  // 1-based line of the text where reading stopped
  std::string message;
};

// A registry file's text, every line of it checked once, with where each of
// its [key] sections starts. The keys a read asks for are then built from
// those sections alone, however many reads follow: a run that opens the
// settings key level by level pays one pass over a large file.
class RegistryFileText {
 public:
  RegistryFileText() = default;
  // The sections point into the text.
  RegistryFileText(const RegistryFileText&) = delete;
  RegistryFileText& operator=(const RegistryFileText&) = delete;

  // Takes `text` and checks every line. False, with *error saying where and
  // why, when it is not a registry file this reader takes; nothing is kept
  // then. Empty text is an empty registry.
  bool Check(std::string text, RegistryFileError* error);

  // Replaces *tree with the keys of the text checked: all of them, or (with
  // `keys`) of each of `keys` its values and its subkeys' names, and the keys
  // above it. Keys out of the registry's order cost a sort, not an insertion
  // each into the middle of their parent's subkeys.
  void Build(const std::vector<RegistryPath>* keys, RegistryTree* tree) const;

  void Clear();

 private:
  struct Section {
    RegKey root = 0;
    std::string_view names;       // below the root, backslashes between, as the text spells them
    std::size_t lines_after = 0;  // where the line after the [key] line starts
  };
  struct Kept;

  bool CheckLines(RegistryFileError* error);
  void ReadValues(const Section& section, RegistryNode* node) const;

  std::string text_;
  std::vector<Section> sections_;  // in the order of the text
};

// The text that RegistryFileText reads back into the same tree.
std::string FormatRegistryFile(const RegistryTree& tree);

}  // namespace nerbo
