// The registry file's text: the registry editor's REGEDIT4 format, one [key]
// section per key (empty keys included, so they survive), then its values:
//   @="Nerbo.exe"                  REG_SZ ending in its one zero, printable
//   "UninstallInfo"=dword:00000003 REG_DWORD of four bytes
//   "Run"=hex(1):43,3a,5c,...      anything else, byte for byte
// ParseRegistryFile and FormatRegistryFile are pure, so a fuzz target can drive them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_tree.h"

namespace nerbo {

struct RegistryFileError {
  int line = 0;  // 1-based line of the text where parsing stopped
  std::string message;
};

// The keys a reader asks for. With a focus ParseRegistryFile keeps of each key only
// its values and its subkeys' names (and the keys above it) and builds no
// other key: a run that reads the settings key pays little for a large file.
// The focus changes what the tree holds, never whether the text is accepted.
struct RegistryFileFocus {
  std::vector<RegistryPath> keys;
  // The same text was accepted before: the sections the focus does not want
  // are passed over unread.
  bool text_checked = false;
  // Where the [key] lines of the sections at or below the keys start; each
  // parse fills it, unless `only_sections`: then, for a checked text and
  // keys that each lie at or below one it was filled for, only those
  // sections are read.
  std::vector<std::size_t> sections;
  bool only_sections = false;
};

// Replaces *tree with the keys and values of `text` (those of `focus` when
// one is given). Empty text is an empty registry. On failure *tree is
// unspecified and *error says where and why.
bool ParseRegistryFile(std::string_view text, RegistryTree* tree, RegistryFileError* error,
                       RegistryFileFocus* focus = nullptr);

// The text that ParseRegistryFile reads back into the same tree.
std::string FormatRegistryFile(const RegistryTree& tree);

}  // namespace nerbo
