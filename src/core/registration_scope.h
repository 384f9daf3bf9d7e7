// Where a registration lives. For every user of the machine: the file types
// in HKEY_CLASSES_ROOT, the settings and uninstall keys in HKEY_LOCAL_MACHINE.
// For the current user alone, which needs no administrator: the same keys
// below HKEY_CURRENT_USER, the file types in its Software\Classes, which the
// Explorer reads ahead of the machine's.
#pragma once

#include "registry/registry.h"

namespace nerbo {

struct RegistrationScope {
  // The root the paths of the settings key and the uninstall key start from.
  RegKey software_root;
  // The key that holds the file types: `classes_key` below `classes_root`,
  // or the root itself when `classes_key` is null.
  RegKey classes_root;
  const char* classes_key;

  constexpr bool ForUser() const { return software_root == kCurrentUser; }
};

inline constexpr RegistrationScope kMachineScope = {kLocalMachine, kClassesRoot, nullptr};
inline constexpr RegistrationScope kUserScope = {kCurrentUser, kCurrentUser, "Software\\Classes"};

}  // namespace nerbo
