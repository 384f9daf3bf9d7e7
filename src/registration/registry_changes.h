// The registry changes of an installation or an uninstallation, each one
// checked. The first that fails is kept, with the key (and value) it was
// for, and every later change is left undone: a run that fails part way
// never goes on to replace what it could not save.
//
// The changes are named as the machine-wide layout has them, below
// HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE; a scope for the current user
// places each below its own roots instead, so that the layout is spelled
// once for both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "core/registration_scope.h"
#include "registration/registry_layout.h"

namespace nerbo {

enum class ChangeKind { kBegin, kOpenKey, kCreateKey, kWriteValue, kDeleteKey, kDeleteValue, kCommit };

struct ChangeFailure {
  ChangeKind kind = ChangeKind::kBegin;
  long result = kRegSuccess;
  std::string key;    // full path, root included; empty for the registry as a whole
  std::string value;  // the value's name; empty for the default value
};

class RegistryChanges {
 public:
  explicit RegistryChanges(Registry& registry, const RegistrationScope& scope = kMachineScope)
      : registry_(registry), scope_(scope) {}

  Registry& registry() { return registry_; }
  bool failed() const { return failure_.has_value(); }
  const ChangeFailure& failure() const { return *failure_; }

  void Begin();
  void Commit();

  // Each gives 0 once a change has failed, so reads under it find nothing.
  RegKey Create(RegKey parent, const char* name);
  // Creates `path` level by level, then `last` under it; a failure on the
  // way names the key the path leads to.
  template <std::size_t N>
  RegKey CreatePath(RegKey root, const char* const (&path)[N], const char* last) {
    bool failed_before = failed();
    RegKey key = InScope(root, true);
    std::string target = PathOf(key);
    for (const char* level : path) {
      key = Create(key, level);
      target += std::string("\\") + level;
    }
    key = Create(key, last);
    if (!failed_before && failed()) failure_->key = target + "\\" + last;
    return key;
  }
  // A missing key gives 0 and is no failure: there is nothing under it to
  // change.
  RegKey Open(RegKey parent, const char* name);

  // Whether the key is there, in the scope's own keys; looked at, never
  // changed.
  bool Exists(RegKey parent, const char* name);
  // The type that `extension` names for this user, when that type is there
  // and is not `own`; empty otherwise. Read as the Explorer reads the file
  // types, the user's own over the machine's, whichever the scope: a per-user
  // registration leaves a type the machine gives its files as it is.
  std::string TypeSeen(const char* extension, const char* own);

  void Write(RegKey key, const char* value_name, LayoutText text);
  void Write(RegKey key, const char* value_name, const std::string& text);
  void WriteToolPath(RegKey key, const char* value_name, const std::string& path);
  void WriteFlagWord(RegKey settings, std::uint32_t flags);
  // Writes the value and reads it back: a value that another change relies
  // on (a backup, or what a backup restores) counts as written only when the
  // registry gives back what was written.
  void WriteAndVerify(RegKey key, const char* value_name, const StoredValue& value);

  // Deleting what is not there is no failure; nor is a key that a single
  // deletion cannot remove because it still holds subkeys (it stays).
  void DeleteValue(RegKey key, const char* value_name);
  void DeleteKey(RegKey parent, const char* name);
  void DeleteTree(RegKey parent, const char* name);

  // The whole value, however long; nothing when it is missing.
  std::optional<StoredValue> Read(RegKey key, const char* value_name);

 private:
  // Where the scope puts a key the layout names below `parent`; the key
  // that holds the scope's file types is created when `create`, else opened.
  RegKey InScope(RegKey parent, bool create);
  bool Check(long result, ChangeKind kind, RegKey key, const char* name);
  std::string PathOf(RegKey key) const;
  RegKey Opened(RegKey parent, const char* name, RegKey key);
  bool HasSubkeys(RegKey parent, const char* name);

  Registry& registry_;
  RegistrationScope scope_;
  RegKey classes_ = 0;  // the scope's key of the file types, once reached
  std::optional<ChangeFailure> failure_;
  std::map<RegKey, std::string> paths_;
};

}  // namespace nerbo
