// The registry as a tree of keys and values, shared by the memory registry and
// the hive file. Names compare without letter case (ASCII letters, as the
// tool's names are ASCII) and keep the case they were first given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/registry.h"

namespace nerbo {

struct RegistryValue {
  std::string name;  // empty for the default value
  std::uint32_t type = kRegNone;
  std::string data;  // the bytes exactly as stored
};

struct RegistryNode {
  std::string name;
  std::vector<RegistryValue> values;   // in the order first set
  std::vector<RegistryNode> subkeys;   // sorted by name, ignoring case

  RegistryNode* FindSubkey(const std::string& subkeyName);
  // Finds the subkey or inserts it in order; `inserted` tells which.
  RegistryNode& AddSubkey(const std::string& subkeyName, bool* inserted);
  bool RemoveSubkey(const std::string& subkeyName);

  const RegistryValue* FindValue(const std::string& valueName) const;
  void SetValue(const std::string& valueName, std::uint32_t type, std::string data);
  bool RemoveValue(const std::string& valueName);
};

struct RegistryTree {
  RegistryNode classesRoot{"HKEY_CLASSES_ROOT", {}, {}};
  RegistryNode localMachine{"HKEY_LOCAL_MACHINE", {}, {}};

  // The node of a predefined root, or null for any other handle.
  RegistryNode* Root(RegKey key);
};

bool SameRegistryName(const std::string& a, const std::string& b);
// Orders names as the registry enumerates them.
bool RegistryNameBefore(const std::string& a, const std::string& b);

// Every key and value, one per line, keys in order and values sorted by name,
// each value with its type, byte count and bytes (non-printable ones as \xNN),
// so that two dumps are equal exactly when the trees hold the same data.
std::string DumpRegistryTree(const RegistryTree& tree);

}  // namespace nerbo
