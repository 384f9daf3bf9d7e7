#include "runtime/tree_registry.h"

#include <algorithm>
#include <cstring>

namespace nerbo {
namespace {

// Handles count up from here in steps of 4, well clear of null and of the
// predefined roots.
constexpr RegKey kFirstHandle = 0x1000;
constexpr std::size_t kMaxKeyNameLength = 255;

// Splits a subkey name at its backslashes, as the Windows registry reads a
// path of several levels. Names with control characters are refused: no key
// the tool writes has one, and the hive file could not hold them on a line.
bool SplitKeyName(const char* name, std::vector<std::string>* names) {
  std::string text = name ? name : "";
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = std::min(text.find('\\', start), text.size());
    std::string part = text.substr(start, end - start);
    if (part.size() > kMaxKeyNameLength) return false;
    if (std::any_of(part.begin(), part.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
      return false;
    if (!part.empty()) names->push_back(part);
    start = end + 1;
  }
  return true;
}

bool ValidValueName(const std::string& name) {
  return std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string ValueName(const char* name) { return name ? name : ""; }

}  // namespace

TreeRegistry::TreeRegistry(std::unique_ptr<TreeStorage> storage) : storage_(std::move(storage)) {}

const TreeRegistry::KeyPath* TreeRegistry::PathOf(RegKey key) const {
  static const KeyPath kClassesRootPath{kClassesRoot, {}};
  static const KeyPath kLocalMachinePath{kLocalMachine, {}};
  if (key == kClassesRoot) return &kClassesRootPath;
  if (key == kLocalMachine) return &kLocalMachinePath;
  if (key < kFirstHandle || (key - kFirstHandle) % 4 != 0) return nullptr;
  std::size_t index = (key - kFirstHandle) / 4;
  return index < handles_.size() ? &handles_[index] : nullptr;
}

RegistryNode* TreeRegistry::NodeAt(const KeyPath& path) {
  RegistryNode* node = tree_.Root(path.root);
  for (const std::string& name : path.names) {
    if (!node) break;
    node = node->FindSubkey(name);
  }
  return node;
}

RegKey TreeRegistry::AddHandle(KeyPath path) {
  handles_.push_back(std::move(path));
  return kFirstHandle + 4 * (handles_.size() - 1);
}

long TreeRegistry::CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) {
  const KeyPath* parentPath = PathOf(parent);
  if (!parentPath) return kRegInvalidHandle;
  KeyPath path = *parentPath;
  std::vector<std::string> names;
  if (!key || !SplitKeyName(name, &names)) return kRegInvalidParameter;
  bool createdAny = false;
  long status = storage_->Update(&tree_, [&](bool* changed) {
    RegistryNode* node = NodeAt(path);
    if (!node) return kRegKeyDeleted;
    for (const std::string& part : names) {
      bool inserted = false;
      node = &node->AddSubkey(part, &inserted);
      createdAny = createdAny || inserted;
      path.names.push_back(node->name);
    }
    *changed = createdAny;
    return kRegSuccess;
  });
  if (status != kRegSuccess) return status;
  if (created) *created = createdAny;
  *key = AddHandle(std::move(path));
  return kRegSuccess;
}

long TreeRegistry::OpenKey(RegKey parent, const char* name, RegKey* key) {
  const KeyPath* parentPath = PathOf(parent);
  if (!parentPath) return kRegInvalidHandle;
  KeyPath path = *parentPath;
  std::vector<std::string> names;
  if (!key || !SplitKeyName(name, &names)) return kRegInvalidParameter;
  long status = storage_->Load(&tree_);
  if (status != kRegSuccess) return status;
  RegistryNode* node = NodeAt(path);
  if (!node) return kRegKeyDeleted;
  for (const std::string& part : names) {
    node = node->FindSubkey(part);
    if (!node) return kRegFileNotFound;
    path.names.push_back(node->name);
  }
  *key = AddHandle(std::move(path));
  return kRegSuccess;
}

long TreeRegistry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  std::string valueName = ValueName(name);
  if ((!data && size > 0) || !ValidValueName(valueName)) return kRegInvalidParameter;
  std::string bytes = data ? std::string(static_cast<const char*>(data), size) : std::string();
  return storage_->Update(&tree_, [&](bool* changed) {
    RegistryNode* node = NodeAt(*path);
    if (!node) return kRegKeyDeleted;
    node->SetValue(valueName, type, std::move(bytes));
    *changed = true;
    return kRegSuccess;
  });
}

long TreeRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                              std::uint32_t* size) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  if (data && !size) return kRegInvalidParameter;
  long status = storage_->Load(&tree_);
  if (status != kRegSuccess) return status;
  RegistryNode* node = NodeAt(*path);
  if (!node) return kRegKeyDeleted;
  const RegistryValue* value = node->FindValue(ValueName(name));
  if (!value) return kRegFileNotFound;
  if (type) *type = value->type;
  if (!size) return kRegSuccess;
  std::uint32_t needed = static_cast<std::uint32_t>(value->data.size());
  bool fits = needed <= *size;
  *size = needed;
  if (!data) return kRegSuccess;
  if (!fits) return kRegMoreData;
  std::memcpy(data, value->data.data(), needed);
  return kRegSuccess;
}

long TreeRegistry::DeleteValue(RegKey key, const char* name) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  std::string valueName = ValueName(name);
  return storage_->Update(&tree_, [&](bool* changed) {
    RegistryNode* node = NodeAt(*path);
    if (!node) return kRegKeyDeleted;
    *changed = node->RemoveValue(valueName);
    return *changed ? kRegSuccess : kRegFileNotFound;
  });
}

long TreeRegistry::DeleteKey(RegKey parent, const char* name) {
  const KeyPath* parentPath = PathOf(parent);
  if (!parentPath) return kRegInvalidHandle;
  std::vector<std::string> names;
  if (!name || !SplitKeyName(name, &names)) return kRegInvalidParameter;
  KeyPath path = *parentPath;
  return storage_->Update(&tree_, [&](bool* changed) {
    RegistryNode* node = NodeAt(path);
    if (!node) return kRegKeyDeleted;
    for (const std::string& part : names) {
      node = node->FindSubkey(part);
      if (!node) return kRegFileNotFound;
      path.names.push_back(node->name);
    }
    // The roots themselves cannot go, nor a key that still has subkeys.
    if (path.names.empty() || !node->subkeys.empty()) return kRegAccessDenied;
    std::string last = path.names.back();
    path.names.pop_back();
    *changed = NodeAt(path)->RemoveSubkey(last);
    return kRegSuccess;
  });
}

long TreeRegistry::QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* maxSubkeyLength) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  long status = storage_->Load(&tree_);
  if (status != kRegSuccess) return status;
  RegistryNode* node = NodeAt(*path);
  if (!node) return kRegKeyDeleted;
  std::size_t longest = 0;
  for (const RegistryNode& subkey : node->subkeys) longest = std::max(longest, subkey.name.size());
  if (subkeys) *subkeys = static_cast<std::uint32_t>(node->subkeys.size());
  if (maxSubkeyLength) *maxSubkeyLength = static_cast<std::uint32_t>(longest);
  return kRegSuccess;
}

long TreeRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  if (!name || !length) return kRegInvalidParameter;
  long status = storage_->Load(&tree_);
  if (status != kRegSuccess) return status;
  RegistryNode* node = NodeAt(*path);
  if (!node) return kRegKeyDeleted;
  if (index >= node->subkeys.size()) return kRegNoMoreItems;
  const std::string& subkeyName = node->subkeys[index].name;
  if (subkeyName.size() >= *length) return kRegMoreData;
  std::memcpy(name, subkeyName.c_str(), subkeyName.size() + 1);
  *length = static_cast<std::uint32_t>(subkeyName.size());
  return kRegSuccess;
}

std::string TreeRegistry::Dump() {
  storage_->Load(&tree_);
  return DumpRegistryTree(tree_);
}

}  // namespace nerbo
