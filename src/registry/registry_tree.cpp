#include "registry/registry_tree.h"

#include <algorithm>

#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

// The value named `name` in `values` (const or not), or its end.
template <typename Values>
auto ValueNamed(Values& values, const std::string& name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const RegistryValue& value) { return EqualsIgnoreCase(value.name, name); });
}

// Where `name` stands, or would stand, among subkeys kept in the registry's
// order.
std::vector<RegistryNode>::iterator PlaceOf(std::vector<RegistryNode>& subkeys, const std::string& name) {
  return std::lower_bound(subkeys.begin(), subkeys.end(), name,
                          [](const RegistryNode& node, const std::string& wanted) {
                            return CompareIgnoringCase(node.name, wanted) < 0;
                          });
}

}  // namespace

RegistryNode* RegistryNode::FindSubkey(const std::string& subkey_name) {
  auto it = PlaceOf(subkeys, subkey_name);
  return it != subkeys.end() && EqualsIgnoreCase(it->name, subkey_name) ? &*it : nullptr;
}

RegistryNode& RegistryNode::AddSubkey(const std::string& subkey_name, bool* inserted) {
  auto it = PlaceOf(subkeys, subkey_name);
  *inserted = it == subkeys.end() || !EqualsIgnoreCase(it->name, subkey_name);
  if (*inserted) it = subkeys.insert(it, RegistryNode{subkey_name, {}, {}});
  return *it;
}

bool RegistryNode::RemoveSubkey(const std::string& subkey_name) {
  auto it = PlaceOf(subkeys, subkey_name);
  if (it == subkeys.end() || !EqualsIgnoreCase(it->name, subkey_name)) return false;
  subkeys.erase(it);
  return true;
}

const RegistryValue* RegistryNode::FindValue(const std::string& value_name) const {
  auto it = ValueNamed(values, value_name);
  return it == values.end() ? nullptr : &*it;
}

void RegistryNode::SetValue(const std::string& value_name, std::uint32_t type, std::string data) {
  auto it = ValueNamed(values, value_name);
  if (it == values.end()) {
    values.push_back(RegistryValue{value_name, type, std::move(data)});
  } else {
    it->type = type;
    it->data = std::move(data);
  }
}

bool RegistryNode::RemoveValue(const std::string& value_name) {
  auto it = ValueNamed(values, value_name);
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

const RegistryNode* RegistryTree::Root(RegKey key) const {
  if (key == kClassesRoot) return &classes_root;
  if (key == kLocalMachine) return &local_machine;
  if (key == kCurrentUser) return &current_user;
  return nullptr;
}

RegistryNode* RegistryTree::Root(RegKey key) {
  return const_cast<RegistryNode*>(static_cast<const RegistryTree*>(this)->Root(key));
}

}  // namespace nerbo
