// A Registry over a RegistryTree, for the backends that keep the tree
// themselves (memory, hive file). A handle names a key by its path, so it
// survives the tree being reloaded; once that path no longer leads to a key,
// calls on the handle fail with kRegKeyDeleted.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/registry.h"
#include "runtime/registry_tree.h"

namespace nerbo {

// Where the tree lives between calls.
class TreeStorage {
 public:
  virtual ~TreeStorage() = default;
  // Brings *tree up to date before a read.
  virtual long Load(RegistryTree* tree) = 0;
  // Runs `change` on an up-to-date *tree with other writers kept out, and
  // keeps the result when `change` succeeds and reports that it changed
  // something.
  virtual long Update(RegistryTree* tree, const std::function<long(bool* changed)>& change) = 0;
};

class TreeRegistry final : public Registry {
 public:
  explicit TreeRegistry(std::unique_ptr<TreeStorage> storage);

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override;
  long OpenKey(RegKey parent, const char* name, RegKey* key) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override;
  long DeleteValue(RegKey key, const char* name) override;
  long DeleteKey(RegKey parent, const char* name) override;
  long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* maxSubkeyLength) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) override;

  // The whole tree as DumpRegistryTree writes it, as of now.
  std::string Dump();

 private:
  struct KeyPath {
    RegKey root;
    std::vector<std::string> names;
  };

  const KeyPath* PathOf(RegKey key) const;
  RegistryNode* NodeAt(const KeyPath& path);
  RegKey AddHandle(KeyPath path);

  std::unique_ptr<TreeStorage> storage_;
  RegistryTree tree_;
  std::vector<KeyPath> handles_;
};

}  // namespace nerbo
