// Installation and uninstallation against the real registry of Windows (under
// Wine, the prefix of the build tree), read back through advapi32 and through
// the system's own `reg` command.
#include <cstdio>

#include <gtest/gtest.h>

#include "core/message_code.h"
#include "registration/delete_key_tree.h"
#include "registration/registration_harness.h"

namespace nerbo {
namespace {

constexpr char kSettings[] = "SOFTWARE\\Vesk\\Nerbo";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nerbo";

struct Stored {
  RegKey root;
  std::string path;
  const char* value;
  std::uint32_t type;
  std::string bytes;
};

// What `reg query` prints for a key, or nothing when it cannot run.
std::string RegQuery(const std::string& key) {
  std::FILE* pipe = _popen(("reg query \"" + key + "\"").c_str(), "r");
  if (!pipe) return std::string();
  std::string output;
  char chunk[512];
  while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) output.append(chunk, got);
  _pclose(pipe);
  return output;
}

class SystemRegistration : public RegistrationTest {
 protected:
  SystemRegistration() {
    for (const char* key : {".class", ".java", "ClassFile.Nerbo", "JavaFile.Nerbo"}) {
      EXPECT_FALSE(Exists(kClassesRoot, key)) << key << " is left from an earlier run";
    }
  }
  // Whatever the test leaves, the prefix is clean for the next run.
  ~SystemRegistration() override {
    for (const char* key : {".class", ".java", "ClassFile.Nerbo", "JavaFile.Nerbo"}) {
      DeleteKeyTree(registry(), kClassesRoot, key);
    }
    RegKey software = 0;
    registry().OpenKey(kLocalMachine, "SOFTWARE", &software);
    DeleteKeyTree(registry(), software, "Vesk");
    RegKey uninstall = 0;
    registry().OpenKey(kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", &uninstall);
    DeleteKeyTree(registry(), uninstall, "Nerbo");
  }
};

TEST_P(SystemRegistration, InstallsTheLayoutAndUninstallsItAgain) {
  PutKit();
  const std::string tool = kToolPath;
  const std::string command = kToolCommand;
  const std::string java = KitPath("java.exe");
  const std::string javac = KitPath("javac.exe");
  ASSERT_EQ(Install(), kMsgUninstallHint);

  const Stored texts[] = {
      {kLocalMachine, kUninstallKey, "DisplayName", kRegSz, Sz("Nerbo by Brandovelkian")},
      {kLocalMachine, kUninstallKey, "UninstallString", kRegSz, Sz(command + " /u")},
      {kLocalMachine, kSettings, "", kRegSz, Sz("Nerbo.exe")},
      {kLocalMachine, kSettings, "UninstallInfo", kRegDword, Dword(kIconFlag | kShellFlag | kArchiveKeyFlag)},
      {kClassesRoot, ".class", "", kRegSz, Sz("ClassFile.Nerbo")},
      {kClassesRoot, "ClassFile.Nerbo", "", kRegSz, Sz("Classi Java")},
      {kClassesRoot, "ClassFile.Nerbo\\DefaultIcon", "", kRegSz, Sz(tool + ",0")},
      {kClassesRoot, "ClassFile.Nerbo\\Shell", "", kRegSz, Sz("Run")},
      {kClassesRoot, "ClassFile.Nerbo\\Shell\\Run\\command", "", kRegSz,
       Sz(command + " \"%1\" \"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\"")},
      {kClassesRoot, "ClassFile.Nerbo\\Shell\\Run with args...\\command", "", kRegSz,
       Sz(command + " \"%1\" /ArgsToNerbo")},
      {kClassesRoot, ".java", "", kRegSz, Sz("JavaFile.Nerbo")},
      {kClassesRoot, "JavaFile.Nerbo", "", kRegSz, Sz("Java File")},
      {kClassesRoot, "JavaFile.Nerbo\\DefaultIcon", "", kRegSz, Sz(tool + ",1")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell", "", kRegSz, Sz("Compile+Run")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell\\Edit\\command", "", kRegSz, Sz("notepad %1")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell\\Compile+Run\\command", "", kRegSz,
       Sz(command + " \"%1\" /ExecuteAfterCompile")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell\\Compile\\command", "", kRegSz, Sz(command + " \"%1\"")},
  };
  for (const Stored& expected : texts) {
    SCOPED_TRACE(expected.path + " " + expected.value);
    std::optional<StoredValue> value = Value(expected.root, expected.path, expected.value);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, expected.type);
    EXPECT_EQ(value->bytes, expected.bytes);
  }
  // Written with their length alone; advapi32 may keep the zero that
  // follows the counted bytes in memory.
  for (const auto& [name, path] : {std::pair<const char*, std::string>{"Run", java}, {"Compile", javac}}) {
    SCOPED_TRACE(name);
    std::optional<StoredValue> value = Value(kLocalMachine, kSettings, name);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, kRegSz);
    EXPECT_TRUE(value->bytes == path || value->bytes == Sz(path)) << value->bytes;
  }
  std::string listed = RegQuery("HKLM\\SOFTWARE\\Vesk\\Nerbo");
  RecordProperty("reg_query", listed.empty() ? "unavailable" : "compared");
  if (!listed.empty()) {
    EXPECT_NE(listed.find("REG_SZ"), std::string::npos) << listed;
    EXPECT_NE(listed.find(java), std::string::npos) << listed;
    EXPECT_NE(listed.find(javac), std::string::npos) << listed;
  }

  ASSERT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(console_.err, "");
  for (const char* key : {".class", ".java", "ClassFile.Nerbo", "JavaFile.Nerbo"}) {
    EXPECT_FALSE(Exists(kClassesRoot, key)) << key;
  }
  EXPECT_FALSE(Exists(kLocalMachine, kSettings));
  EXPECT_FALSE(Exists(kLocalMachine, kUninstallKey));
  EXPECT_TRUE(Exists(kLocalMachine, "SOFTWARE\\Vesk"));
  if (!listed.empty()) {
    EXPECT_EQ(RegQuery("HKLM\\SOFTWARE\\Vesk\\Nerbo").find(java), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Advapi32, SystemRegistration, testing::Values(SystemRegistryBackend()), BackendName);

}  // namespace
}  // namespace nerbo
