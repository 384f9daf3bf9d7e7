// The tool in a kit under Program Files, started as Windows starts it: the
// user runs it once without arguments in a console in the kit's bin
// directory; the Explorer then starts the registered commands verbatim
// (explorer_standin.exe), and the list of installed software the uninstall
// command. The real program files run under Wine, against the prefix's
// registry, with the stand-in kit.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "core/message_code.h"
#include "registration/delete_key_tree.h"
#include "registration/registration_harness.h"
#include "registration/registry_snapshot_win32.h"
#include "registration/scoped_read_only_key_win32.h"
#include "runtime/windows_api.h"
#include "standin/standin_log.h"
#include "support/scoped_environment.h"
#include "support/synthetic_class_file.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

// Made absolute before any test changes directory: under Wine the build
// paths are paths of the drive current at the start.
const fs::path kProgram = fs::absolute(NERBO_PROGRAM);
const fs::path kProgramWithoutManifest = fs::absolute(NERBO_PROGRAM_WITHOUT_MANIFEST);
const fs::path kExplorer = fs::absolute(NERBO_EXPLORER_STANDIN);
const fs::path kKitBin = fs::absolute(NERBO_STANDIN_KIT_BIN);

constexpr wchar_t kRunVerb[] = L"HKEY_CLASSES_ROOT\\ClassFile.Nerbo\\Shell\\Run\\command";
constexpr wchar_t kCompileRunVerb[] = L"HKEY_CLASSES_ROOT\\JavaFile.Nerbo\\Shell\\Compile+Run\\command";
// The jar verbs: of the tool's own type, and beside a runtime's.
constexpr wchar_t kJarRunVerb[] = L"HKEY_CLASSES_ROOT\\JarFile.Nerbo\\Shell\\Run\\command";
constexpr wchar_t kJarRunWithArgsVerb[] =
    L"HKEY_CLASSES_ROOT\\JarFile.Nerbo\\Shell\\Run with args...\\command";
constexpr wchar_t kRunInConsoleVerb[] = L"HKEY_CLASSES_ROOT\\jarfile\\Shell\\Run in console\\command";
constexpr wchar_t kRunInConsoleWithArgsVerb[] =
    L"HKEY_CLASSES_ROOT\\jarfile\\Shell\\Run in console with args...\\command";
constexpr wchar_t kUninstallKey[] =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nerbo";
constexpr char kSettings[] = "SOFTWARE\\Vesk\\Nerbo";
constexpr wchar_t kUserRunVerb[] =
    L"HKEY_CURRENT_USER\\Software\\Classes\\ClassFile.Nerbo\\Shell\\Run\\command";
constexpr wchar_t kUserCompileRunVerb[] =
    L"HKEY_CURRENT_USER\\Software\\Classes\\JavaFile.Nerbo\\Shell\\Compile+Run\\command";
constexpr wchar_t kUserUninstallKey[] =
    L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nerbo";

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Starts `program` with the command line `line`, without a console (so a
// final key wait ends at once), in `directory` (when not empty), with
// `input` (when given) as its standard input, and gives its exit status; -1
// when it cannot start.
long StartAndWait(const fs::path& program, std::wstring line, const fs::path& directory = {},
                  HANDLE input = nullptr) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (input) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION process = {};
  std::wstring in = directory.wstring();
  if (!CreateProcessW(program.wstring().c_str(), &line[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                      in.empty() ? nullptr : in.c_str(), &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return static_cast<long>(status);
}

class AsWindowsStartsIt : public RegistrationTest {
 protected:
  AsWindowsStartsIt() {
    fs::create_directories(bin_);
    fs::create_directories(package_);
    fs::copy_file(kProgram, bin_ / "Nerbo.exe");
    for (const char* tool : {"java.exe", "javac.exe"}) fs::copy_file(kKitBin / tool, bin_ / tool);
  }
  // Whatever a test leaves installed goes, so the prefix is clean for the next.
  ~AsWindowsStartsIt() override { Uninstall(); }

  long InstallFromBin() { return StartAndWait(bin_ / "Nerbo.exe", L"Nerbo.exe", bin_); }

  // The Explorer starts the command in `value` of `key` for `clicked`; the
  // tool reads what the user types from `typed` (when given).
  long Open(const wchar_t* key, const wchar_t* value, const fs::path& clicked = {},
            const fs::path& typed = {}) {
    std::wstring line = Quoted(kExplorer.wstring()) + L" " + Quoted((bin_ / "Nerbo.exe").wstring()) + L" " +
                        Quoted(key) + L" " + Quoted(value);
    if (!clicked.empty()) line += L" " + Quoted(clicked.wstring());
    if (typed.empty()) return StartAndWait(kExplorer, line);
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE input = CreateFileW(typed.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    long status = StartAndWait(kExplorer, line, {}, input);
    CloseHandle(input);
    return status;
  }

  std::vector<StandinRecord> Records() const {
    std::ifstream in(log_, std::ios::binary);
    return ParseStandinLog(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }

  fs::path bin_ = temp_.path() / "Program Files" / "My JDK" / "bin";
  fs::path root_ = temp_.path() / "My Work" / "src";
  fs::path package_ = root_ / "org" / "demo";
  fs::path log_ = temp_.path() / "kit.log";
  ScopedEnvironment log_variable_{kStandinLogVariable, log_.string()};
  ScopedEnvironment no_status_{kStandinStatusVariable};
  ScopedEnvironment no_write_{kStandinWriteVariable};
  ScopedEnvironment no_user_class_path_{"CLASSPATH"};
};

TEST_P(AsWindowsStartsIt, AClassInAFolderWithBlanksRunsFromItsPackageRoot) {
  ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
  WriteSyntheticClassFile(package_ / "Hello.class", "org/demo/Hello");

  EXPECT_EQ(Open(kRunVerb, L"", package_ / "Hello.class"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_NE(records[0].command_line.find(" org.demo.Hello "), std::string::npos) << records[0].command_line;
  EXPECT_TRUE(fs::equivalent(records[0].directory, root_)) << records[0].directory;
}

TEST_P(AsWindowsStartsIt, CompileAndRunWorks) {
  ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
  std::ofstream(package_ / "Hello.java", std::ios::binary) << "package org.demo;\r\nclass Hello {}\r\n";
  WriteSyntheticClassFile(package_ / "Hello.class", "org/demo/Hello");

  EXPECT_EQ(Open(kCompileRunVerb, L"", package_ / "Hello.java"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].command_line.rfind("javac.exe ", 0), 0u) << records[0].command_line;
  EXPECT_NE(records[1].command_line.find(" org.demo.Hello "), std::string::npos) << records[1].command_line;
}

TEST_P(AsWindowsStartsIt, TheUninstallCommandUninstalls) {
  ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
  EXPECT_EQ(Open(kUninstallKey, L"UninstallString"), kMsgUninstalled);
  EXPECT_FALSE(Exists(kClassesRoot, "ClassFile.Nerbo"));
  EXPECT_FALSE(Exists(kLocalMachine, kSettings));
}

// A class run only reads the settings key, so a user who may not change it
// (as HKEY_LOCAL_MACHINE is for a standard user) runs classes all the same.
TEST_P(AsWindowsStartsIt, AClassRunsWithASettingsKeyThatCanOnlyBeRead) {
  ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
  WriteSyntheticClassFile(package_ / "Hello.class", "org/demo/Hello");
  ScopedReadOnlyKey read_only(HKEY_LOCAL_MACHINE, kSettings);
  RegKey settings = 0;
  ASSERT_EQ(registry().OpenKey(kLocalMachine, kSettings, &settings), kRegAccessDenied)
      << "the key is writable";

  EXPECT_EQ(Open(kRunVerb, L"", package_ / "Hello.class"), kMsgProgramDone);
  EXPECT_EQ(Records().size(), 1u);
}

// A standard user, who may only read the machine's keys, gets a registration
// of their own; uninstalling it puts back the `.class` association they had.
TEST_P(AsWindowsStartsIt, WithoutRightsOnTheMachineTheUsersOwnRegistrationRunsAndGoes) {
  Seed(kCurrentUser, "Software\\Classes\\.class", "", Sz("userclass"));
  Seed(kCurrentUser, "Software\\Vesk\\Other", "", Sz("another tool"));  // SOFTWARE\Vesk stays
  WriteSyntheticClassFile(package_ / "Hello.class", "org/demo/Hello");
  std::ofstream(package_ / "Hello.java", std::ios::binary) << "package org.demo;\r\nclass Hello {}\r\n";
  std::string before = SnapshotRegistrationKeys();
  {
    ScopedReadOnlyKey software(HKEY_LOCAL_MACHINE, "SOFTWARE");
    ScopedReadOnlyKey classes(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes");
    ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
    EXPECT_FALSE(Exists(kLocalMachine, kSettings));
    EXPECT_EQ(Open(kUserRunVerb, L"", package_ / "Hello.class"), kMsgProgramDone);
    EXPECT_EQ(Open(kUserCompileRunVerb, L"", package_ / "Hello.java"), kMsgProgramDone);
    EXPECT_EQ(Records().size(), 3u);
    EXPECT_EQ(Open(kUserUninstallKey, L"UninstallString"), kMsgUninstalled);
  }
  EXPECT_EQ(SnapshotRegistrationKeys(), before);
  RemoveRegistrationKeys(registry());
}

// Wine gives the program its manifest's UTF-8 code page, so a Cyrillic name
// arrives whole; without it (Windows before 10 1903) it arrives with '?',
// which must not run the one-letter A.class beside it.
TEST_P(AsWindowsStartsIt, ANameOutsideTheCodePageRunsItselfOrNothing) {
  ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
  WriteSyntheticClassFile(root_ / "A.class", "A");
  WriteSyntheticClassFile(root_ / L"\u0416.class", "\u0416");

  EXPECT_EQ(Open(kRunVerb, L"", root_ / L"\u0416.class"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  // The class runs by its name on disk.
  EXPECT_NE(records[0].command_line.find(" \u0416 "), std::string::npos) << records[0].command_line;

  fs::copy_file(kProgramWithoutManifest, bin_ / "Nerbo.exe", fs::copy_options::overwrite_existing);
  EXPECT_EQ(Open(kRunVerb, L"", root_ / L"\u0416.class"), kMsgFileNotFound);
  EXPECT_EQ(Records().size(), 1u) << "the stand-in java started again";
}

#ifdef NERBO_DEMO_JARS
// A jar made by the JDK's jar tool, with a Class-Path jar beside it, in a
// folder with blanks: each verb starts the kit's java on it in its folder,
// with the typed arguments, and ends as a class run does.
TEST_P(AsWindowsStartsIt, AJarRunsThroughEveryVerbFromItsFolder) {
  const fs::path jars = temp_.path() / "My Work" / "jar dir";
  fs::create_directories(jars);
  for (const char* jar : {"App.jar", "Lib.jar"}) fs::copy_file(fs::path(NERBO_DEMO_JARS) / jar, jars / jar);
  const fs::path typed = temp_.path() / "typed.txt";
  std::ofstream(typed, std::ios::binary) << "one \"two three\"\r\n";
  struct {
    const char* reason;
    bool runtime_type;  // `.jar` names a runtime's type before installing
    const wchar_t* verb;
    bool with_args;
    const char* status;  // the stand-in java's
    long code;
  } cases[] = {
      {"Run", false, kJarRunVerb, false, "0", kMsgProgramDone},
      {"RunWithArgsEndingBadly", false, kJarRunWithArgsVerb, true, "3", kMsgProgramFailed},
      {"RunInConsole", true, kRunInConsoleVerb, false, "0", kMsgProgramDone},
      {"RunInConsoleWithArgs", true, kRunInConsoleWithArgsVerb, true, "0", kMsgProgramDone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    Uninstall();
    DeleteKeyTree(registry(), kClassesRoot, ".jar");
    DeleteKeyTree(registry(), kClassesRoot, "jarfile");
    if (c.runtime_type) {
      Seed(kClassesRoot, ".jar", "", Sz("jarfile"));
      Seed(kClassesRoot, "jarfile\\Shell\\open\\command", "", Sz("javaw.exe -jar \"%1\" %*"));
    }
    ASSERT_EQ(InstallFromBin(), kMsgUninstallHint);
    fs::remove(log_);
    ScopedEnvironment status(kStandinStatusVariable, c.status);

    EXPECT_EQ(Open(c.verb, L"", jars / "App.jar", c.with_args ? typed : fs::path()), c.code);
    std::vector<StandinRecord> records = Records();
    ASSERT_EQ(records.size(), 1u);
    const std::string& line = records[0].command_line;
    EXPECT_EQ(line.rfind("java.exe -jar \"App.jar\"", 0), 0u) << line;
    if (c.with_args) {
      EXPECT_NE(line.find("App.jar\" one \"two three\""), std::string::npos) << line;
    }
    EXPECT_TRUE(fs::equivalent(records[0].directory, jars)) << records[0].directory;
    if (c.runtime_type) {
      EXPECT_EQ(Bytes(kClassesRoot, "jarfile\\Shell\\open\\command", ""), Sz("javaw.exe -jar \"%1\" %*"));
    }
  }
  Uninstall();
  EXPECT_EQ(Bytes(kClassesRoot, ".jar", ""), Sz("jarfile"));
  EXPECT_FALSE(Exists(kClassesRoot, "jarfile\\Shell\\Run in console"));
  DeleteKeyTree(registry(), kClassesRoot, ".jar");
  DeleteKeyTree(registry(), kClassesRoot, "jarfile");
}
#endif

INSTANTIATE_TEST_SUITE_P(Advapi32, AsWindowsStartsIt, testing::Values(SystemRegistryBackend()), BackendName);

}  // namespace
}  // namespace nerbo
