#include "registration/registry_snapshot_win32.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "registration/delete_key_tree.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

struct Subtree {
  HKEY root;
  RegKey seam_root;
  const char* parent;  // empty below the root itself
  const char* name;
};

constexpr char kUninstallParent[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kUserClasses[] = "Software\\Classes";
const Subtree kSubtrees[] = {
    {HKEY_CLASSES_ROOT, kClassesRoot, "", ".class"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", ".java"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", "userclass"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", "usersource"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", "ClassFile.Nerbo"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", "JavaFile.Nerbo"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", ".jar"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", "userjar"},
    {HKEY_CLASSES_ROOT, kClassesRoot, "", "JarFile.Nerbo"},
    {HKEY_LOCAL_MACHINE, kLocalMachine, "SOFTWARE", "Vesk"},
    {HKEY_LOCAL_MACHINE, kLocalMachine, kUninstallParent, "Nerbo"},
    {HKEY_LOCAL_MACHINE, kLocalMachine, kUninstallParent, "OtherApp"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, ".class"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, ".java"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, "userclass"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, "usersource"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, "ClassFile.Nerbo"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, "JavaFile.Nerbo"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, ".jar"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, "userjar"},
    {HKEY_CURRENT_USER, kCurrentUser, kUserClasses, "JarFile.Nerbo"},
    {HKEY_CURRENT_USER, kCurrentUser, "Software", "Vesk"},
    {HKEY_CURRENT_USER, kCurrentUser, kUninstallParent, "Nerbo"},
    {HKEY_CURRENT_USER, kCurrentUser, kUninstallParent, "OtherApp"},
};

std::string Hex(const std::vector<BYTE>& bytes, DWORD size) {
  std::string text;
  char digits[4];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
    text += digits;
  }
  return text;
}

void DumpKey(HKEY key, const std::string& path, std::string* dump) {
  *dump += "[" + path + "]\n";
  std::vector<std::string> values;
  char name[512];
  std::vector<BYTE> data(65536);
  for (DWORD index = 0;; ++index) {
    DWORD name_size = sizeof name;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    if (RegEnumValueA(key, index, name, &name_size, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
      break;
    values.push_back(std::string(name, name_size) + "=" + std::to_string(type) + ":" + Hex(data, size) +
                     "\n");
  }
  std::sort(values.begin(), values.end());
  for (const std::string& value : values) *dump += value;
  std::vector<std::string> subkeys;
  for (DWORD index = 0;; ++index) {
    DWORD name_size = sizeof name;
    if (RegEnumKeyExA(key, index, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    subkeys.emplace_back(name, name_size);
  }
  std::sort(subkeys.begin(), subkeys.end());
  for (const std::string& subkey : subkeys) {
    HKEY child = nullptr;
    if (RegOpenKeyExA(key, subkey.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    DumpKey(child, path + "\\" + subkey, dump);
    RegCloseKey(child);
  }
}

}  // namespace

std::string SnapshotRegistrationKeys() {
  std::string dump;
  for (const Subtree& subtree : kSubtrees) {
    std::string path = *subtree.parent ? std::string(subtree.parent) + "\\" + subtree.name : subtree.name;
    HKEY key = nullptr;
    if (RegOpenKeyExA(subtree.root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    dump += subtree.root == HKEY_CURRENT_USER ? "HKCU " : "";
    DumpKey(key, path, &dump);
    RegCloseKey(key);
  }
  return dump;
}

void RemoveRegistrationKeys(Registry& registry) {
  for (const Subtree& subtree : kSubtrees) {
    RegKey parent = subtree.seam_root;
    if (*subtree.parent && registry.OpenKey(subtree.seam_root, subtree.parent, &parent) != kRegSuccess)
      continue;
    DeleteKeyTree(registry, parent, subtree.name);
  }
}

}  // namespace nerbo
