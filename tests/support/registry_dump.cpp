#include "support/registry_dump.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "registry/tree_backed_registry.h"
#include "runtime/portable/ascii.h"

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

}  // namespace

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
  auto* tree = dynamic_cast<TreeBackedRegistry*>(&registry);
  return tree ? DumpRegistryTree(tree->Snapshot()) : "(this registry cannot be dumped)\n";
}

}  // namespace nerbo
