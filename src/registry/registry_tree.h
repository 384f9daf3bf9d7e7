// The registry's keys and values as nodes of a tree, which the Linux
// registry file and the tests' memory registry keep. Names compare without
// letter case (ASCII letters, as the tool's names are ASCII) and keep the
// case they were first given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registry/registry.h"

namespace nerbo {

struct RegistryValue {
  std::string name;  // empty for the default value
  std::uint32_t type = kRegNone;
  std::string data;  // the bytes exactly as stored
};

struct RegistryNode {
  std::string name;
  std::vector<RegistryValue> values;  // in the order first set
  std::vector<RegistryNode> subkeys;  // sorted by name, ignoring case

  RegistryNode* FindSubkey(const std::string& subkey_name);
  // Finds the subkey or inserts it in order; `inserted` tells which.
  RegistryNode& AddSubkey(const std::string& subkey_name, bool* inserted);
  bool RemoveSubkey(const std::string& subkey_name);

  const RegistryValue* FindValue(const std::string& value_name) const;
  void SetValue(const std::string& value_name, std::uint32_t type, std::string data);
  bool RemoveValue(const std::string& value_name);
};

// A key named by its root and the names of the levels below it.
struct RegistryPath {
  RegKey root = 0;
  std::vector<std::string> names;
};

struct RegistryTree {
  RegistryNode classes_root{"HKEY_CLASSES_ROOT", {}, {}};
  RegistryNode local_machine{"HKEY_LOCAL_MACHINE", {}, {}};
  RegistryNode current_user{"HKEY_CURRENT_USER", {}, {}};

  // The node of a predefined root, or null for any other handle.
  RegistryNode* Root(RegKey key);
  const RegistryNode* Root(RegKey key) const;
};

}  // namespace nerbo
