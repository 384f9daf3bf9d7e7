#include "support/registry_dump.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/portable/ascii.h"
#include "support/forwarding_registry.h"

namespace nerbo {
namespace {

void AppendQuoted(const std::string& bytes, std::string* out) {
  out->push_back('"');
  for (char c : bytes) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out->push_back('\\');
      out->push_back(c);
    } else if (u >= 0x20 && u < 0x7f) {
      out->push_back(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", u);
      out->append(hex);
    }
  }
  out->push_back('"');
}

void DumpNode(const RegistryNode& node, const std::string& path, std::string* out) {
  out->append(path).push_back('\n');
  std::vector<const RegistryValue*> values;
  for (const RegistryValue& value : node.values) values.push_back(&value);
  std::sort(values.begin(), values.end(), [](const RegistryValue* a, const RegistryValue* b) {
    return CompareIgnoringCase(a->name, b->name) < 0;
  });
  for (const RegistryValue* value : values) {
    out->append("  ");
    if (value->name.empty()) {
      out->push_back('@');
    } else {
      AppendQuoted(value->name, out);
    }
    out->append(" type " + std::to_string(value->type) + ", " + std::to_string(value->data.size()) +
                " bytes: ");
    AppendQuoted(value->data, out);
    out->push_back('\n');
  }
  for (const RegistryNode& subkey : node.subkeys) DumpNode(subkey, path + "\\" + subkey.name, out);
}

// Passes every call to a store and keeps the tree it is handed: the
// registry's own, which a dump then has the store bring up to the whole.
class WatchedStorage final : public TreeStorage {
 public:
  explicit WatchedStorage(std::unique_ptr<TreeStorage> inner) : inner_(std::move(inner)) {}

  long Load(RegistryTree* tree, const RegistryPath* key) override { return Watch(tree)->Load(tree, key); }
  long Update(RegistryTree* tree, const std::function<long(bool* changed)>& change) override {
    return Watch(tree)->Update(tree, change);
  }
  long BeginChanges(RegistryTree* tree) override { return Watch(tree)->BeginChanges(tree); }
  long CommitChanges(RegistryTree* tree) override { return Watch(tree)->CommitChanges(tree); }
  void DiscardChanges(RegistryTree* tree) override { Watch(tree)->DiscardChanges(tree); }

  // The registry's whole tree, once it made a call.
  const RegistryTree& Whole() {
    inner_->Load(tree_, nullptr);
    return *tree_;
  }

 private:
  TreeStorage* Watch(RegistryTree* tree) {
    tree_ = tree;
    return inner_.get();
  }

  std::unique_ptr<TreeStorage> inner_;
  RegistryTree* tree_ = nullptr;
};

class DumpableRegistry final : public ForwardingRegistry {
 public:
  // The base keeps a reference to registry_, which it uses only once built.
  explicit DumpableRegistry(std::unique_ptr<WatchedStorage> storage)
      : ForwardingRegistry(registry_), storage_(storage.get()), registry_(std::move(storage)) {}

  std::string Dump() {
    // Any read hands the store the registry's tree.
    registry_.QueryInfoKey(kClassesRoot, nullptr, nullptr);
    return DumpRegistryTree(storage_->Whole());
  }

 private:
  WatchedStorage* storage_;
  TreeBackedRegistry registry_;
};

}  // namespace

bool ParseRegistryFile(const std::string& text, RegistryTree* tree, RegistryFileError* error) {
  RegistryFileText checked;
  if (!checked.Check(text, error)) return false;
  checked.Build(nullptr, tree);
  return true;
}

std::unique_ptr<Registry> MakeDumpableRegistry(std::unique_ptr<TreeStorage> storage) {
  return std::make_unique<DumpableRegistry>(std::make_unique<WatchedStorage>(std::move(storage)));
}

std::string DumpRegistryTree(const RegistryTree& tree) {
  std::string out;
  DumpNode(tree.classes_root, tree.classes_root.name, &out);
  DumpNode(tree.local_machine, tree.local_machine.name, &out);
  // The tool only reads HKEY_CURRENT_USER: shown when a test put something there.
  const RegistryNode& user = tree.current_user;
  if (!user.values.empty() || !user.subkeys.empty()) DumpNode(user, user.name, &out);
  return out;
}

std::string DumpRegistry(Registry& registry) {
  auto* dumpable = dynamic_cast<DumpableRegistry*>(&registry);
  return dumpable ? dumpable->Dump() : "(this registry cannot be dumped)\n";
}

}  // namespace nerbo
