// The fault sweep over the real registry of Windows (under Wine, the prefix
// of the build tree), and an installation that finds the user's `.class` key
// readable only.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/message_code.h"
#include "registration/delete_key_tree.h"
#include "registration/fault_sweep.h"
#include "registration/scoped_read_only_key_win32.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

struct Subtree {
  HKEY root;
  RegKey seam_root;
  const char* parent;  // empty below the root itself
  const char* name;
};

// Every key the sweep's runs may touch; the rest of the prefix is left alone.
constexpr char kUninstallParent[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
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

// One line per key and per value (its type and bytes), names sorted, as
// Windows does not promise an order.
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

class WineFaultSweep : public FaultSweep {
 protected:
  ~WineFaultSweep() override { StartAfresh(); }

  std::string Snapshot() override {
    std::string dump;
    for (const Subtree& subtree : kSubtrees) {
      std::string path = *subtree.parent ? std::string(subtree.parent) + "\\" + subtree.name : subtree.name;
      HKEY key = nullptr;
      if (RegOpenKeyExA(subtree.root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
      DumpKey(key, path, &dump);
      RegCloseKey(key);
    }
    return dump;
  }

  // The real registry cannot be swapped for a fresh one: the sweep's keys go.
  void StartAfresh() override {
    for (const Subtree& subtree : kSubtrees) {
      RegKey parent = subtree.seam_root;
      if (*subtree.parent && registry().OpenKey(subtree.seam_root, subtree.parent, &parent) != kRegSuccess)
        continue;
      DeleteKeyTree(registry(), parent, subtree.name);
    }
  }
};

TEST_P(WineFaultSweep, AnInstallationOrUninstallationFailingAtAnyChange) {
  for (const UserState& state : UserStates()) {
    SCOPED_TRACE(state.reason);
    RecordProperty(std::string("install_changes_") + state.reason, Sweep(state, Mode::kInstall));
    RecordProperty(std::string("uninstall_changes_") + state.reason, Sweep(state, Mode::kUninstall));
  }
}

TEST_P(WineFaultSweep, AReadOnlyClassKeyEndsTheInstallationAndKeepsTheUsersType) {
  PutKit();
  const UserState& state = UserStates().front();
  state.seed(registry());
  std::string before = Snapshot();
  {
    ScopedReadOnlyKey read_only(HKEY_CLASSES_ROOT, ".class");
    EXPECT_EQ(Install(), kMsgRegistryWriteRefused);
    EXPECT_NE(console_.err.find("HKEY_CLASSES_ROOT\\.class: Permission denied"), std::string::npos)
        << console_.err;
  }
  std::optional<StoredValue> named = Value(kClassesRoot, ".class", "");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->bytes, Sz("userclass"));
  EXPECT_FALSE(Value(kClassesRoot, ".class", "BackUp"));
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Advapi32, WineFaultSweep, testing::Values(SystemRegistryBackend()), BackendName);

}  // namespace
}  // namespace nerbo
