// The registry file's text: the registry editor's REGEDIT4 format, one [key]
// section per key (empty keys included, so they survive), then its values:
//   @="Nerbo.exe"                  REG_SZ ending in its one zero, printable
//   "UninstallInfo"=dword:00000003 REG_DWORD of four bytes
//   "Run"=hex(1):43,3a,5c,...      anything else, byte for byte
// RegistryFileText reads it, FormatRegistryFile writes it; both are pure, so
// a fuzz target can drive them.
#pragma once

#include <cstddef>
#include <deque>
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
// settings key level by level pays one pass over a large file. The text is
// the caller's; it must stay in place, unchanged, while it is used here.
class RegistryFileText {
 public:
  // Checks every line of `text` and notes its sections. False, with *error
  // saying where and why, when it is not a registry file this reader takes;
  // nothing is kept then. Empty text is an empty registry.
  bool Check(std::string_view text, RegistryFileError* error);

  // Replaces *tree with the keys of the text checked: all of them, or (with
  // `keys`) of each of `keys` its values and its subkeys' names, and the keys
  // above it. Keys out of the registry's order cost a sort, not an insertion
  // each into the middle of their parent's subkeys.
  void Build(const std::vector<RegistryPath>* keys, RegistryTree* tree) const;

  void Clear();

 private:
  // The [key] lines of one root, each by the names below the root
  // (backslashes between, into the text), in the order of the text; the
  // values of each are on the lines that follow it. A deque grows without
  // moving what it holds: the notes of a large file are written once, in
  // memory touched once.
  struct RootSections {
    RegKey root;
    std::deque<std::string_view> names;
  };

  bool CheckLines(RegistryFileError* error);
  void BuildRoot(const RootSections& sections, const std::vector<RegistryPath>* keys,
                 RegistryNode* node) const;
  void ReadValues(std::string_view names, RegistryNode* node) const;

  std::string_view text_;
  RootSections roots_[3] = {{kClassesRoot, {}}, {kLocalMachine, {}}, {kCurrentUser, {}}};
};

// The text that RegistryFileText reads back into the same tree.
std::string FormatRegistryFile(const RegistryTree& tree);

}  // namespace nerbo
