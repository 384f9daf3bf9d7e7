#include "runtime/registry_tree.h"

#include <algorithm>
#include <cstdio>

#include "runtime/ascii.h"

namespace nerbo {
namespace {

// The registry orders names by their upper-case form, which puts "_" after
// the letters.
unsigned char Upper(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

template <typename Item>
auto FindByName(std::vector<Item>& items, const std::string& name) {
  return std::find_if(items.begin(), items.end(),
                      [&](const Item& item) { return SameRegistryName(item.name, name); });
}

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
    return RegistryNameBefore(a->name, b->name);
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

}  // namespace

bool SameRegistryName(const std::string& a, const std::string& b) {
  return EqualsIgnoreCase(a, b);
}

bool RegistryNameBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Upper(x) < Upper(y); });
}

RegistryNode* RegistryNode::FindSubkey(const std::string& subkeyName) {
  auto it = FindByName(subkeys, subkeyName);
  return it == subkeys.end() ? nullptr : &*it;
}

RegistryNode& RegistryNode::AddSubkey(const std::string& subkeyName, bool* inserted) {
  auto it = std::lower_bound(subkeys.begin(), subkeys.end(), subkeyName,
                             [](const RegistryNode& node, const std::string& wanted) {
                               return RegistryNameBefore(node.name, wanted);
                             });
  *inserted = it == subkeys.end() || !SameRegistryName(it->name, subkeyName);
  if (*inserted) it = subkeys.insert(it, RegistryNode{subkeyName, {}, {}});
  return *it;
}

bool RegistryNode::RemoveSubkey(const std::string& subkeyName) {
  auto it = FindByName(subkeys, subkeyName);
  if (it == subkeys.end()) return false;
  subkeys.erase(it);
  return true;
}

const RegistryValue* RegistryNode::FindValue(const std::string& valueName) const {
  auto it = std::find_if(values.begin(), values.end(),
                         [&](const RegistryValue& value) { return SameRegistryName(value.name, valueName); });
  return it == values.end() ? nullptr : &*it;
}

void RegistryNode::SetValue(const std::string& valueName, std::uint32_t type, std::string data) {
  auto it = FindByName(values, valueName);
  if (it == values.end()) {
    values.push_back(RegistryValue{valueName, type, std::move(data)});
  } else {
    it->type = type;
    it->data = std::move(data);
  }
}

bool RegistryNode::RemoveValue(const std::string& valueName) {
  auto it = FindByName(values, valueName);
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

RegistryNode* RegistryTree::Root(RegKey key) {
  if (key == kClassesRoot) return &classesRoot;
  if (key == kLocalMachine) return &localMachine;
  return nullptr;
}

std::string DumpRegistryTree(const RegistryTree& tree) {
  std::string out;
  DumpNode(tree.classesRoot, tree.classesRoot.name, &out);
  DumpNode(tree.localMachine, tree.localMachine.name, &out);
  return out;
}

}  // namespace nerbo
