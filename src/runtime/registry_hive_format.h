// The hive file's text: the registry editor's REGEDIT4 format, one [key]
// section per key (empty keys included, so they survive), then its values:
//   @="Nerbo.exe"                  REG_SZ ending in its one zero, printable
//   "UninstallInfo"=dword:00000003 REG_DWORD of four bytes
//   "Run"=hex(1):43,3a,5c,...      anything else, byte for byte
// ParseHive and FormatHive are pure, so a fuzz target can drive them.
#pragma once

#include <string>

#include "runtime/registry_nodes.h"

namespace nerbo {

struct HiveError {
  int line = 0;  // 1-based line of the text where parsing stopped
  std::string message;
};

// Replaces *tree with the keys and values of `text`. Empty text is an empty
// registry. On failure *tree is unspecified and *error says where and why.
bool ParseHive(const std::string& text, RegistryTree* tree, HiveError* error);

// The text that ParseHive reads back into the same tree.
std::string FormatHive(const RegistryTree& tree);

}  // namespace nerbo
