#include "registry/tree_backed_registry.h"

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
// the tool writes has one, and the registry file could not hold them on a line.
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

TreeBackedRegistry::TreeBackedRegistry(std::unique_ptr<TreeStorage> storage) : storage_(std::move(storage)) {}

const TreeBackedRegistry::KeyPath* TreeBackedRegistry::PathOf(RegKey key) const {
  static const KeyPath kRootPaths[] = {{kClassesRoot, {}}, {kCurrentUser, {}}, {kLocalMachine, {}}};
  for (const KeyPath& root_path : kRootPaths) {
    if (root_path.root == key) return &root_path;
  }
  if (key < kFirstHandle || (key - kFirstHandle) % 4 != 0) return nullptr;
  std::size_t index = (key - kFirstHandle) / 4;
  return index < handles_.size() ? &handles_[index] : nullptr;
}

RegistryNode* TreeBackedRegistry::NodeAt(const KeyPath& path) {
  RegistryNode* node = tree_.Root(path.root);
  for (const std::string& name : path.names) {
    if (!node) break;
    node = node->FindSubkey(name);
  }
  return node;
}

RegKey TreeBackedRegistry::AddHandle(KeyPath path) {
  handles_.push_back(std::move(path));
  return kFirstHandle + 4 * (handles_.size() - 1);
}

RegistryNode* TreeBackedRegistry::Descend(KeyPath* path, const std::vector<std::string>& names, bool* created,
                                          long* failure) {
  RegistryNode* node = NodeAt(*path);
  if (!node) {
    *failure = kRegKeyDeleted;
    return nullptr;
  }
  for (const std::string& name : names) {
    bool inserted = false;
    RegistryNode* next = created ? &node->AddSubkey(name, &inserted) : node->FindSubkey(name);
    if (!next) {
      *failure = kRegFileNotFound;
      return nullptr;
    }
    if (inserted) *created = true;
    node = next;
    path->names.push_back(node->name);
  }
  return node;
}

long TreeBackedRegistry::CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) {
  const KeyPath* parent_path = PathOf(parent);
  if (!parent_path) return kRegInvalidHandle;
  KeyPath path = *parent_path;
  std::vector<std::string> names;
  if (!key || !SplitKeyName(name, &names)) return kRegInvalidParameter;
  bool created_any = false;
  long status = storage_->Update(&tree_, [&](bool* changed) {
    long failure = kRegSuccess;
    if (!Descend(&path, names, &created_any, &failure)) return failure;
    *changed = created_any;
    return kRegSuccess;
  });
  if (status != kRegSuccess) return status;
  if (created) *created = created_any;
  *key = AddHandle(std::move(path));
  return kRegSuccess;
}

long TreeBackedRegistry::OpenKey(RegKey parent, const char* name, RegKey* key) {
  const KeyPath* parent_path = PathOf(parent);
  if (!parent_path) return kRegInvalidHandle;
  KeyPath path = *parent_path;
  std::vector<std::string> names;
  if (!key || !SplitKeyName(name, &names)) return kRegInvalidParameter;
  KeyPath wanted = path;
  wanted.names.insert(wanted.names.end(), names.begin(), names.end());
  long status = storage_->Load(&tree_, &wanted);
  if (status != kRegSuccess) return status;
  long failure = kRegSuccess;
  if (!Descend(&path, names, nullptr, &failure)) return failure;
  *key = AddHandle(std::move(path));
  return kRegSuccess;
}

long TreeBackedRegistry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                                  std::uint32_t size) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  std::string value_name = ValueName(name);
  if ((!data && size > 0) || !ValidValueName(value_name)) return kRegInvalidParameter;
  std::string bytes = data ? std::string(static_cast<const char*>(data), size) : std::string();
  return storage_->Update(&tree_, [&](bool* changed) {
    RegistryNode* node = NodeAt(*path);
    if (!node) return kRegKeyDeleted;
    node->SetValue(value_name, type, std::move(bytes));
    *changed = true;
    return kRegSuccess;
  });
}

long TreeBackedRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                                    std::uint32_t* size) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  if (data && !size) return kRegInvalidParameter;
  long status = storage_->Load(&tree_, path);
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

long TreeBackedRegistry::DeleteValue(RegKey key, const char* name) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  std::string value_name = ValueName(name);
  return storage_->Update(&tree_, [&](bool* changed) {
    RegistryNode* node = NodeAt(*path);
    if (!node) return kRegKeyDeleted;
    *changed = node->RemoveValue(value_name);
    return *changed ? kRegSuccess : kRegFileNotFound;
  });
}

long TreeBackedRegistry::DeleteKey(RegKey parent, const char* name) {
  const KeyPath* parent_path = PathOf(parent);
  if (!parent_path) return kRegInvalidHandle;
  std::vector<std::string> names;
  if (!name || !SplitKeyName(name, &names)) return kRegInvalidParameter;
  KeyPath path = *parent_path;
  return storage_->Update(&tree_, [&](bool* changed) {
    long failure = kRegSuccess;
    RegistryNode* node = Descend(&path, names, nullptr, &failure);
    if (!node) return failure;
    // The roots themselves cannot go, nor a key that still has subkeys.
    if (path.names.empty() || !node->subkeys.empty()) return kRegAccessDenied;
    std::string last = path.names.back();
    path.names.pop_back();
    *changed = NodeAt(path)->RemoveSubkey(last);
    return kRegSuccess;
  });
}

long TreeBackedRegistry::QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  long status = storage_->Load(&tree_, path);
  if (status != kRegSuccess) return status;
  RegistryNode* node = NodeAt(*path);
  if (!node) return kRegKeyDeleted;
  std::size_t longest = 0;
  for (const RegistryNode& subkey : node->subkeys) longest = std::max(longest, subkey.name.size());
  if (subkeys) *subkeys = static_cast<std::uint32_t>(node->subkeys.size());
  if (max_subkey_length) *max_subkey_length = static_cast<std::uint32_t>(longest);
  return kRegSuccess;
}

long TreeBackedRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) {
  const KeyPath* path = PathOf(key);
  if (!path) return kRegInvalidHandle;
  if (!name || !length) return kRegInvalidParameter;
  long status = storage_->Load(&tree_, path);
  if (status != kRegSuccess) return status;
  RegistryNode* node = NodeAt(*path);
  if (!node) return kRegKeyDeleted;
  if (index >= node->subkeys.size()) return kRegNoMoreItems;
  const std::string& subkey_name = node->subkeys[index].name;
  if (subkey_name.size() >= *length) return kRegMoreData;
  std::memcpy(name, subkey_name.c_str(), subkey_name.size() + 1);
  *length = static_cast<std::uint32_t>(subkey_name.size());
  return kRegSuccess;
}

}  // namespace nerbo
