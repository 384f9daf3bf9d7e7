#include "registration/registry_changes.h"

#include <vector>

#include "registration/delete_key_tree.h"

namespace nerbo {
namespace {

std::string RootName(RegKey root) {
  switch (root) {
    case kClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case kCurrentUser:
      return "HKEY_CURRENT_USER";
    case kLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    default:
      return std::string();
  }
}

// Windows may store a text's terminator beyond the count it was given.
bool SameValue(const StoredValue& written, const StoredValue& read) {
  if (read.type != written.type) return false;
  return read.bytes == written.bytes || read.bytes == written.bytes + '\0';
}

}  // namespace

RegKey RegistryChanges::InScope(RegKey parent, bool create) {
  if (parent == kLocalMachine) return scope_.software_root;
  if (parent != kClassesRoot || !scope_.classes_key) return parent;
  if (!classes_) {
    classes_ = create ? Create(scope_.classes_root, scope_.classes_key)
                      : Open(scope_.classes_root, scope_.classes_key);
  }
  return classes_;
}

bool RegistryChanges::Check(long result, ChangeKind kind, RegKey key, const char* name) {
  if (result == kRegSuccess) return true;
  if (failure_) return false;
  ChangeFailure failure;
  failure.kind = kind;
  failure.result = result;
  bool names_value = kind == ChangeKind::kWriteValue || kind == ChangeKind::kDeleteValue;
  if (kind != ChangeKind::kBegin && kind != ChangeKind::kCommit) {
    failure.key = PathOf(key);
    if (names_value) {
      failure.value = name ? name : "";
    } else {
      failure.key += std::string("\\") + name;
    }
  }
  failure_ = failure;
  return false;
}

std::string RegistryChanges::PathOf(RegKey key) const {
  auto found = paths_.find(key);
  return found != paths_.end() ? found->second : RootName(key);
}

RegKey RegistryChanges::Opened(RegKey parent, const char* name, RegKey key) {
  paths_[key] = PathOf(parent) + "\\" + name;
  return key;
}

void RegistryChanges::Begin() { Check(registry_.BeginChanges(), ChangeKind::kBegin, 0, nullptr); }

void RegistryChanges::Commit() {
  if (!failed()) Check(registry_.CommitChanges(), ChangeKind::kCommit, 0, nullptr);
}

RegKey RegistryChanges::Create(RegKey parent, const char* name) {
  parent = InScope(parent, true);
  if (failed() || !parent) return 0;
  RegKey key = 0;
  if (!Check(registry_.CreateKey(parent, name, &key, nullptr), ChangeKind::kCreateKey, parent, name))
    return 0;
  return Opened(parent, name, key);
}

RegKey RegistryChanges::Open(RegKey parent, const char* name) {
  parent = InScope(parent, false);
  if (failed() || !parent) return 0;
  RegKey key = 0;
  long result = registry_.OpenKey(parent, name, &key);
  if (result == kRegFileNotFound || !Check(result, ChangeKind::kOpenKey, parent, name)) return 0;
  return Opened(parent, name, key);
}

bool RegistryChanges::Exists(RegKey parent, const char* name) {
  parent = InScope(parent, false);
  RegKey key = 0;
  return !failed() && parent && registry_.OpenKeyToRead(parent, name, &key) == kRegSuccess;
}

std::string RegistryChanges::TypeSeen(const char* extension, const char* own) {
  if (failed()) return std::string();
  // HKEY_CLASSES_ROOT is that view on Windows; the scope's own keys come
  // first where a registry keeps them apart.
  RegKey own_classes = InScope(kClassesRoot, false);
  auto seen = [&](const char* name) {
    RegKey key = 0;
    if (own_classes && registry_.OpenKeyToRead(own_classes, name, &key) == kRegSuccess) return key;
    return registry_.OpenKeyToRead(kClassesRoot, name, &key) == kRegSuccess ? key : 0;
  };
  std::optional<StoredValue> named = Read(seen(extension), kDefaultValue);
  if (!NamesOther(named, own) || !seen(named->Text().c_str())) return std::string();
  return named->Text();
}

void RegistryChanges::Write(RegKey key, const char* value_name, LayoutText text) {
  if (!failed()) Check(WriteText(registry_, key, value_name, text), ChangeKind::kWriteValue, key, value_name);
}

void RegistryChanges::Write(RegKey key, const char* value_name, const std::string& text) {
  if (!failed()) Check(WriteText(registry_, key, value_name, text), ChangeKind::kWriteValue, key, value_name);
}

void RegistryChanges::WriteToolPath(RegKey key, const char* value_name, const std::string& path) {
  if (failed()) return;
  Check(nerbo::WriteToolPath(registry_, key, value_name, path), ChangeKind::kWriteValue, key, value_name);
}

void RegistryChanges::WriteFlagWord(RegKey settings, std::uint32_t flags) {
  if (failed()) return;
  Check(nerbo::WriteFlagWord(registry_, settings, flags), ChangeKind::kWriteValue, settings,
        kUninstallInfoValue);
}

void RegistryChanges::WriteAndVerify(RegKey key, const char* value_name, const StoredValue& value) {
  if (failed()) return;
  long result = registry_.SetValue(key, value_name, value.type, value.bytes.data(),
                                   static_cast<std::uint32_t>(value.bytes.size()));
  if (!Check(result, ChangeKind::kWriteValue, key, value_name)) return;
  std::optional<StoredValue> read = Read(key, value_name);
  if (!read || !SameValue(value, *read)) Check(kRegIoFailed, ChangeKind::kWriteValue, key, value_name);
}

void RegistryChanges::DeleteValue(RegKey key, const char* value_name) {
  if (failed() || !key) return;
  long result = registry_.DeleteValue(key, value_name);
  if (result != kRegFileNotFound) Check(result, ChangeKind::kDeleteValue, key, value_name);
}

bool RegistryChanges::HasSubkeys(RegKey parent, const char* name) {
  RegKey key = 0;
  std::uint32_t subkeys = 0;
  std::uint32_t longest = 0;
  return registry_.OpenKeyToRead(parent, name, &key) == kRegSuccess &&
         registry_.QueryInfoKey(key, &subkeys, &longest) == kRegSuccess && subkeys > 0;
}

void RegistryChanges::DeleteKey(RegKey parent, const char* name) {
  parent = InScope(parent, false);
  if (failed() || !parent) return;
  long result = registry_.DeleteKey(parent, name);
  if (result == kRegFileNotFound) return;
  if (result == kRegAccessDenied && HasSubkeys(parent, name)) return;
  Check(result, ChangeKind::kDeleteKey, parent, name);
}

void RegistryChanges::DeleteTree(RegKey parent, const char* name) {
  parent = InScope(parent, false);
  if (failed() || !parent) return;
  long result = DeleteKeyTree(registry_, parent, name);
  if (result != kRegFileNotFound) Check(result, ChangeKind::kDeleteKey, parent, name);
}

std::optional<StoredValue> RegistryChanges::Read(RegKey key, const char* value_name) {
  if (!key) return std::nullopt;
  StoredValue value;
  std::vector<char> buffer(kReadLimit);
  // A value that grows between the two reads is asked for again.
  for (;;) {
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    long result = registry_.QueryValue(key, value_name, &value.type, buffer.data(), &size);
    if (result == kRegMoreData && size > buffer.size()) {
      buffer.resize(size);
      continue;
    }
    if (result != kRegSuccess) return std::nullopt;
    value.bytes.assign(buffer.data(), size);
    return value;
  }
}

}  // namespace nerbo
