// The Registry backend over a RegistryTree, which a TreeStorage keeps (the
// registry file's store; the tests' memory). A handle names a key by its
// path, so it survives the tree being reloaded; once that path no longer
// leads to a key, calls on the handle fail with kRegKeyDeleted.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry.h"
#include "registry/registry_tree.h"

namespace nerbo {

// Where the tree lives between calls.
class TreeStorage {
 public:
  virtual ~TreeStorage() = default;
  // Brings *tree up to date before a read of the key at `key`: at least its
  // values and the names of its subkeys; the whole tree when `key` is null.
  // A store may leave out the keys no read has asked for.
  virtual long Load(RegistryTree* tree, const RegistryPath* key) = 0;
  // Runs `change` on an up-to-date *tree with other writers kept out, and
  // keeps the result when `change` succeeds and reports that it changed
  // something.
  virtual long Update(RegistryTree* tree, const std::function<long(bool* changed)>& change) = 0;
  // The unit of changes of Registry::BeginChanges; a store that keeps every
  // change at once has nothing to do for it.
  virtual long BeginChanges(RegistryTree*) { return kRegSuccess; }
  virtual long CommitChanges(RegistryTree*) { return kRegSuccess; }
  virtual void DiscardChanges(RegistryTree*) {}
};

class TreeBackedRegistry final : public Registry {
 public:
  explicit TreeBackedRegistry(std::unique_ptr<TreeStorage> storage);

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override;
  long OpenKey(RegKey parent, const char* name, RegKey* key) override;
  // The tree keeps no rights: the same as OpenKey.
  long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) override {
    return OpenKey(parent, name, key);
  }
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override;
  long DeleteValue(RegKey key, const char* name) override;
  long DeleteKey(RegKey parent, const char* name) override;
  long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) override;
  long BeginChanges() override { return storage_->BeginChanges(&tree_); }
  long CommitChanges() override { return storage_->CommitChanges(&tree_); }
  void DiscardChanges() override { storage_->DiscardChanges(&tree_); }

 private:
  using KeyPath = RegistryPath;

  const KeyPath* PathOf(RegKey key) const;
  RegistryNode* NodeAt(const KeyPath& path);
  // Walks `names` down from the key at *path, adding each level's stored name
  // to *path; with `created` the missing levels are added (and it tells
  // whether any was). Null with *failure set when a level is missing or
  // *path no longer leads to a key.
  RegistryNode* Descend(KeyPath* path, const std::vector<std::string>& names, bool* created, long* failure);
  RegKey AddHandle(KeyPath path);

  std::unique_ptr<TreeStorage> storage_;
  RegistryTree tree_;
  std::vector<KeyPath> handles_;
};

}  // namespace nerbo
