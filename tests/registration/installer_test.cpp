#include <gtest/gtest.h>

#include <filesystem>

#include "core/message_code.h"
#include "registration/registration_failure.h"
#include "registration/registration_harness.h"
#include "support/memory_registry.h"
#include "support/refusing_registry.h"
#include "support/registry_dump.h"

namespace nerbo {
namespace {

constexpr char kInstalled[] = "Installazione eseguita correttamente.\n\n";
// The end of an installation, code 15.
constexpr char kUninstallHint[] =
    "Per disinstallare eseguire il programma passandogli il parametro \"/u\".\n";
constexpr char kCompileMenu[] =
    "Ora e' anche possibile compilare direttamente un file java da menu contestuale!\n\n";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nerbo";
constexpr char kSettings[] = "SOFTWARE\\Vesk\\Nerbo";

struct Entry {
  RegKey root;
  std::string path;
  const char* value;
  std::string bytes;
  std::uint32_t type = kRegSz;
};

std::string DumpOf(const std::vector<Entry>& entries) {
  std::unique_ptr<Registry> expected = MakeMemoryRegistry();
  for (const Entry& entry : entries)
    SeedIn(*expected, entry.root, entry.path, entry.value, entry.bytes, entry.type);
  return DumpRegistry(*expected);
}

// What an installation with both kit tools writes on a system that had
// none of these keys, with the texts spelled out.
std::vector<Entry> FreshLayout(const std::string& java, const std::string& javac) {
  const std::string tool = kToolPath;
  const std::string command = kToolCommand;
  return {
      {kLocalMachine, kUninstallKey, "DisplayName", Sz("Nerbo by Brandovelkian")},
      {kLocalMachine, kUninstallKey, "UninstallString", Sz(command + " /u")},
      {kLocalMachine, kSettings, "", Sz("Nerbo.exe")},
      {kLocalMachine, kSettings, "UninstallInfo", Dword(kIconFlag | kShellFlag | kArchiveKeyFlag), kRegDword},
      {kLocalMachine, kSettings, "Run", java},
      {kLocalMachine, kSettings, "Compile", javac},
      {kClassesRoot, ".class", "", Sz("ClassFile.Nerbo")},
      {kClassesRoot, "ClassFile.Nerbo", "", Sz("Classi Java")},
      {kClassesRoot, "ClassFile.Nerbo\\DefaultIcon", "", Sz(tool + ",0")},
      {kClassesRoot, "ClassFile.Nerbo\\Shell", "", Sz("Run")},
      {kClassesRoot, "ClassFile.Nerbo\\Shell\\Run\\command", "",
       Sz(command + " \"%1\" \"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\"")},
      {kClassesRoot, "ClassFile.Nerbo\\Shell\\Run with args...\\command", "",
       Sz(command + " \"%1\" /ArgsToNerbo")},
      {kClassesRoot, ".java", "", Sz("JavaFile.Nerbo")},
      {kClassesRoot, "JavaFile.Nerbo", "", Sz("Java File")},
      {kClassesRoot, "JavaFile.Nerbo\\DefaultIcon", "", Sz(tool + ",1")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell", "", Sz("Compile+Run")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell\\Edit\\command", "", Sz("notepad %1")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell\\Compile+Run\\command", "",
       Sz(command + " \"%1\" /ExecuteAfterCompile")},
      {kClassesRoot, "JavaFile.Nerbo\\Shell\\Compile\\command", "", Sz(command + " \"%1\"")},
      {kClassesRoot, ".jar", "", Sz("JarFile.Nerbo")},
      {kClassesRoot, "JarFile.Nerbo", "", Sz("Archivi Java")},
      {kClassesRoot, "JarFile.Nerbo\\DefaultIcon", "", Sz(tool + ",0")},
      {kClassesRoot, "JarFile.Nerbo\\Shell", "", Sz("Run")},
      {kClassesRoot, "JarFile.Nerbo\\Shell\\Run\\command", "",
       Sz(command + " \"%1\" \"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\"")},
      {kClassesRoot, "JarFile.Nerbo\\Shell\\Run with args...\\command", "",
       Sz(command + " \"%1\" /ArgsToNerbo")},
  };
}

using Installer = RegistrationTest;

TEST_P(Installer, AFreshSystemGetsTheWholeLayoutAndNothingElse) {
  PutKit();
  EXPECT_EQ(Install(), kMsgUninstallHint);
  EXPECT_EQ(console_.out, std::string(kInstalled) + kCompileMenu + kUninstallHint);
  EXPECT_EQ(console_.err, "");
  EXPECT_EQ(Dump(),
            DumpOf(FreshLayout(KitPath(HostConventions().java_tool), KitPath(HostConventions().javac_tool))));
}

TEST_P(Installer, WithoutJavaItPrintsNothingAndWritesNothing) {
  temp_.Touch(HostConventions().javac_tool);
  Seed(kClassesRoot, ".class", "", Sz("classfile"));
  std::string before = Dump();
  EXPECT_EQ(Install(), kMsgInstallHelp);
  EXPECT_EQ(console_.out.find("Se vuoi installare questo programma"), 0u);
  EXPECT_EQ(console_.out.size() - console_.out.rfind(kUninstallHint), sizeof kUninstallHint - 1);
  EXPECT_EQ(Dump(), before);
}

TEST_P(Installer, WithoutJavacOnlyClassFilesAreRegistered) {
  PutKit(false);
  Seed(kLocalMachine, kSettings, "Compile", "C:\\old\\javac.exe");
  Seed(kClassesRoot, ".java", "", Sz("txtfile"));
  Seed(kClassesRoot, "txtfile", "", Sz("Text Document"));
  std::string source_before = Dump();
  EXPECT_EQ(Install(), kMsgUninstallHint);
  EXPECT_EQ(console_.out, std::string(kInstalled) + kUninstallHint);
  EXPECT_EQ(Bytes(kLocalMachine, kSettings, "Compile"), "C:\\old\\javac.exe");
  EXPECT_EQ(Bytes(kLocalMachine, kSettings, "Run"), KitPath(HostConventions().java_tool));
  EXPECT_EQ(Bytes(kLocalMachine, kSettings, "UninstallInfo"), Dword(kArchiveKeyFlag));
  EXPECT_EQ(Bytes(kClassesRoot, ".java", ""), Sz("txtfile"));
  EXPECT_FALSE(Exists(kClassesRoot, "txtfile\\Shell"));
  EXPECT_FALSE(Exists(kClassesRoot, "JavaFile.Nerbo"));
  EXPECT_TRUE(Exists(kClassesRoot, "ClassFile.Nerbo\\Shell\\Run with args...\\command"));
}

struct ClassCase {
  const char* reason;
  std::optional<StoredValue> before;  // default value of an existing .class
  std::optional<StoredValue> earlier_backup;
  std::optional<StoredValue> backup;  // expected after installation
};

const StoredValue kOtherType{kRegSz, Sz("classfile")};

const ClassCase kClassCases[] = {
    {"NoKey", std::nullopt, std::nullopt, std::nullopt},
    {"OtherType", kOtherType, std::nullopt, kOtherType},
    {"OtherTypeOfExpandableText", StoredValue{2, Sz("jclass")}, std::nullopt, StoredValue{2, Sz("jclass")}},
    {"OtherTypeWithoutTerminator", StoredValue{kRegSz, "abc"}, std::nullopt, StoredValue{kRegSz, "abc"}},
    {"OwnNameInSmallLetters", StoredValue{kRegSz, Sz("classfile.nerbo")}, std::nullopt,
     StoredValue{kRegSz, Sz("classfile.nerbo")}},
    {"EmptyDefault", StoredValue{kRegSz, Sz("")}, std::nullopt, std::nullopt},
    // Read whole, however long, and saved like any other.
    {"LongerThan256Bytes", StoredValue{kRegSz, Sz(std::string(300, 'x'))}, std::nullopt,
     StoredValue{kRegSz, Sz(std::string(300, 'x'))}},
    {"OwnNameKeepsAnEarlierBackUp", StoredValue{kRegSz, Sz("ClassFile.Nerbo")}, kOtherType, kOtherType},
};

TEST_P(Installer, SavesWhatClassNamedBeforeInBackUp) {
  for (const ClassCase& c : kClassCases) {
    SCOPED_TRACE(c.reason);
    ResetRegistry();
    PutKit(false);
    if (c.before) Seed(kClassesRoot, ".class", "", c.before->bytes, c.before->type);
    if (c.earlier_backup)
      Seed(kClassesRoot, ".class", "BackUp", c.earlier_backup->bytes, c.earlier_backup->type);
    ASSERT_EQ(Install(), kMsgUninstallHint);
    std::optional<StoredValue> backup = Value(kClassesRoot, ".class", "BackUp");
    ASSERT_EQ(backup.has_value(), c.backup.has_value());
    if (backup) {
      EXPECT_EQ(backup->type, c.backup->type);
      EXPECT_EQ(backup->bytes, c.backup->bytes);
    }
    std::optional<StoredValue> now = Value(kClassesRoot, ".class", "");
    ASSERT_TRUE(now);
    EXPECT_EQ(now->bytes, Sz("ClassFile.Nerbo"));
    EXPECT_EQ(now->type, kRegSz);
  }
}

// An expectation on one value after installation; no bytes: it must not exist.
struct Expect {
  std::string path;
  const char* value;
  std::optional<std::string> bytes;
};

struct SourceCase {
  const char* reason;
  std::vector<Entry> before;
  std::uint32_t flags;
  std::vector<Expect> after;
};

std::vector<SourceCase> SourceCases() {
  const std::string tool = kToolPath;
  const std::string command = kToolCommand;
  const std::string compile = Sz(command + " \"%1\"");
  return {
      {"NoJavaKey",
       {},
       3,
       {{".java", "", Sz("JavaFile.Nerbo")}, {"JavaFile.Nerbo\\Shell", "", Sz("Compile+Run")}}},
      {"EmptyJavaDefault",
       {{kClassesRoot, ".java", "", Sz("")}},
       3,
       {{".java", "", Sz("JavaFile.Nerbo")}, {"JavaFile.Nerbo", "", Sz("Java File")}}},
      {"ReusedTypeWithOtherVerbs",
       {{kClassesRoot, ".java", "", Sz("txtfile")},
        {kClassesRoot, "txtfile", "", Sz("Text Document")},
        {kClassesRoot, "txtfile\\DefaultIcon", "", Sz("shell32.dll,-152")},
        {kClassesRoot, "txtfile\\Shell", "", Sz("open")},
        {kClassesRoot, "txtfile\\Shell\\open\\command", "", Sz("write %1")}},
       0,
       {{".java", "", Sz("txtfile")},
        {"txtfile", "", Sz("Text Document")},
        {"txtfile\\DefaultIcon", "", Sz("shell32.dll,-152")},
        {"txtfile\\Shell", "", Sz("open")},
        {"txtfile\\Shell\\open\\command", "", Sz("write %1")},
        {"txtfile\\Shell\\Edit\\command", "", Sz("notepad %1")},
        {"txtfile\\Shell\\Compile\\command", "", compile},
        {"JavaFile.Nerbo", "", std::nullopt}}},
      {"ReusedTypeWithoutShell",
       {{kClassesRoot, ".java", "", Sz("txtfile")},
        {kClassesRoot, "txtfile", "", Sz("Text Document")},
        {kClassesRoot, "txtfile\\DefaultIcon", "", Sz("shell32.dll,-152")}},
       2,
       {{"txtfile\\DefaultIcon", "", Sz("shell32.dll,-152")}, {"txtfile\\Shell", "", Sz("Compile+Run")}}},
      {"ReusedTypeWithOnlyEdit",
       {{kClassesRoot, ".java", "", Sz("txtfile")},
        {kClassesRoot, "txtfile\\DefaultIcon", "", Sz("shell32.dll,-152")},
        {kClassesRoot, "txtfile\\Shell\\Edit\\command", "", Sz("wordpad %1")}},
       2,
       {{"txtfile\\Shell", "", Sz("Compile+Run")},
        {"txtfile\\Shell\\Edit\\command", "", Sz("notepad %1")},
        {"txtfile\\Shell\\Edit\\command", "BackUp", Sz("wordpad %1")},
        {"txtfile", "", Sz("Java File")}}},
      {"ReusedTypeWithoutKey",
       {{kClassesRoot, ".java", "", Sz("jfile")}},
       3,
       {{"jfile", "", Sz("Java File")},
        {"jfile\\DefaultIcon", "", Sz(tool + ",1")},
        {"jfile\\Shell", "", Sz("Compile+Run")},
        {"jfile\\Shell\\Compile+Run\\command", "", Sz(command + " \"%1\" /ExecuteAfterCompile")},
        {"JavaFile.Nerbo", "", std::nullopt}}},
      {"ReusedTypeKeepsAnEmptyDescription",
       {{kClassesRoot, ".java", "", Sz("jfile")}, {kClassesRoot, "jfile", "", Sz("")}},
       3,
       {{"jfile", "", Sz("")}}},
      {"EditAlreadyTheToolsHasNoBackUp",
       {{kClassesRoot, ".java", "", Sz("txtfile")},
        {kClassesRoot, "txtfile\\Shell\\Edit\\command", "", Sz("notepad %1")}},
       3,
       {{"txtfile\\Shell\\Edit\\command", "BackUp", std::nullopt}}},
  };
}

// `.jar` naming a type that exists keeps it, and its double click; naming
// none, an empty name or a type that is gone, it names the tool's own type.
std::vector<SourceCase> ArchiveCases() {
  const std::string command = kToolCommand;
  const std::string run = Sz(command + " \"%1\" \"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\"");
  const std::string javaw = Sz("\"C:\\jre\\bin\\javaw.exe\" -jar \"%1\" %*");
  return {
      {"JarNamesARuntimesType",
       {{kClassesRoot, ".jar", "", Sz("jarfile")},
        {kClassesRoot, "jarfile", "", Sz("Executable Jar File")},
        {kClassesRoot, "jarfile\\Shell\\open\\command", "", javaw}},
       kArchiveVerbsFlag,
       {{".jar", "", Sz("jarfile")},
        {".jar", "BackUp", std::nullopt},
        {"jarfile\\Shell", "", std::nullopt},
        {"jarfile\\Shell\\open\\command", "", javaw},
        {"jarfile\\Shell\\Run in console\\command", "", run},
        {"jarfile\\Shell\\Run in console with args...\\command", "", Sz(command + " \"%1\" /ArgsToNerbo")},
        {"JarFile.Nerbo", "", std::nullopt}}},
      {"JarTypeWithoutShell",
       {{kClassesRoot, ".jar", "", Sz("jarfile")}, {kClassesRoot, "jarfile", "", Sz("Executable Jar File")}},
       kArchiveVerbsFlag | kArchiveShellFlag,
       {{"jarfile\\Shell\\Run in console\\command", "", run}}},
      {"JarNamingATypeThatIsGone",
       {{kClassesRoot, ".jar", "", Sz("jarfile")}},
       0,
       {{".jar", "", Sz("JarFile.Nerbo")}, {".jar", "BackUp", Sz("jarfile")}, {"jarfile", "", std::nullopt}}},
  };
}

TEST_P(Installer, AddsTheVerbsToTheTypesThatJavaAndJarName) {
  // None of the sources' machines has `.jar`; none of the jars' has `.java`.
  const struct {
    std::vector<SourceCase> cases;
    std::uint32_t other_flags;
  } tables[] = {{SourceCases(), kArchiveKeyFlag}, {ArchiveCases(), kIconFlag | kShellFlag}};
  for (const auto& table : tables)
    for (const SourceCase& c : table.cases) {
      SCOPED_TRACE(c.reason);
      ResetRegistry();
      PutKit();
      for (const Entry& entry : c.before) Seed(entry.root, entry.path, entry.value, entry.bytes, entry.type);
      ASSERT_EQ(Install(), kMsgUninstallHint);
      EXPECT_EQ(Bytes(kLocalMachine, kSettings, "UninstallInfo"), Dword(c.flags | table.other_flags));
      for (const Expect& expect : c.after) {
        SCOPED_TRACE(expect.path + " " + expect.value);
        std::optional<StoredValue> value = Value(kClassesRoot, expect.path, expect.value);
        ASSERT_EQ(value.has_value(), expect.bytes.has_value());
        if (value) {
          EXPECT_EQ(value->bytes, *expect.bytes);
        }
      }
    }
}

TEST_P(Installer, KeepsEveryFlagOfEarlierInstallations) {
  for (std::uint32_t earlier : {1u, 3u, 0x101u}) {
    SCOPED_TRACE(earlier);
    ResetRegistry();
    PutKit();
    Seed(kLocalMachine, kSettings, "UninstallInfo", Dword(earlier), kRegDword);
    Seed(kClassesRoot, ".jar", "", Sz("JarFile.Nerbo"));
    Seed(kClassesRoot, ".java", "", Sz("txtfile"));
    Seed(kClassesRoot, "txtfile\\DefaultIcon", "", Sz("shell32.dll,-152"));
    Seed(kClassesRoot, "txtfile\\Shell\\open\\command", "", Sz("write %1"));
    ASSERT_EQ(Install(), kMsgUninstallHint);
    EXPECT_EQ(Bytes(kLocalMachine, kSettings, "UninstallInfo"), Dword(earlier));
    // With the icon flag set the existing icon is the tool's to rewrite.
    EXPECT_EQ(Bytes(kClassesRoot, "txtfile\\DefaultIcon", ""), Sz(std::string(kToolPath) + ",1"));
  }
}

TEST_P(Installer, ASecondInstallationWritesTheSameEntries) {
  PutKit();
  Seed(kClassesRoot, ".class", "", Sz("classfile"));
  Seed(kClassesRoot, ".java", "", Sz("txtfile"));
  Seed(kClassesRoot, "txtfile\\Shell\\Edit\\command", "", Sz("wordpad %1"));
  Seed(kClassesRoot, ".jar", "", Sz("jarfile"));
  Seed(kClassesRoot, "jarfile\\Shell\\open\\command", "", Sz("javaw -jar \"%1\""));
  ASSERT_EQ(Install(), kMsgUninstallHint);
  std::string first = Dump();
  ASSERT_EQ(Install(), kMsgUninstallHint);
  EXPECT_EQ(Dump(), first);
  EXPECT_EQ(Bytes(kClassesRoot, ".class", "BackUp"), Sz("classfile"));
  EXPECT_EQ(Bytes(kClassesRoot, "txtfile\\Shell\\Edit\\command", "BackUp"), Sz("wordpad %1"));
}

TEST_P(Installer, AToolPathOf253CharactersFitsAndALongerOneIsRefused) {
  PutKit();
  std::string longest = "C:\\" + std::string(kToolPathLimit - 13, 'd') + "\\Nerbo.exe";
  ASSERT_EQ(longest.size(), 253u);
  EXPECT_EQ(Install(longest), kMsgUninstallHint);
  EXPECT_EQ(Bytes(kClassesRoot, "ClassFile.Nerbo\\DefaultIcon", ""), Sz(longest + ",0"));

  ResetRegistry();
  std::string before = Dump();
  EXPECT_EQ(Install(longest.substr(0, 3) + "d" + longest.substr(3)), kMsgToolPathTooLong);
  EXPECT_NE(console_.err.find("253"), std::string::npos) << console_.err;
  EXPECT_EQ(console_.out, "");
  EXPECT_EQ(Dump(), before);
}

TEST_P(Installer, AnInstallDirectoryLongerThan245CharactersIsRefused) {
  std::filesystem::path deep = temp_.path();
  while (deep.string().size() <= kInstallDirectoryLimit) deep /= std::string(40, 'd');
  std::filesystem::create_directories(deep);
  ScopedCurrentDirectory in_deep(deep);
  temp_.Touch((std::filesystem::relative(deep, temp_.path()) / HostConventions().java_tool).string());
  std::string before = Dump();
  EXPECT_EQ(Install(), kMsgInstallDirectoryTooLong);
  EXPECT_NE(console_.err.find("245"), std::string::npos) << console_.err;
  EXPECT_EQ(Dump(), before);
}

// The same layout below the current user's keys: the settings and uninstall
// keys under HKEY_CURRENT_USER, the file types in its Software\Classes.
std::vector<Entry> ForTheUser(const std::vector<Entry>& layout) {
  std::vector<Entry> entries;
  for (Entry entry : layout) {
    if (entry.root == kClassesRoot) entry.path = "Software\\Classes\\" + entry.path;
    entry.root = kCurrentUser;
    entries.push_back(entry);
  }
  return entries;
}

// What the user's own classes held is what `BackUp` keeps, never the
// machine's association that shows through them.
TEST_P(Installer, WithoutRightsOnTheMachineTheUserGetsTheLayoutForThemself) {
  PutKit();
  const std::vector<Entry> before = {
      {kCurrentUser, "Software\\Classes\\.class", "", Sz("userclass")},
      {kClassesRoot, ".class", "", Sz("machineclass")},
      // The user chose the tool's type: no notice, though the machine's differs.
      {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.class\\UserChoice",
       "ProgId", Sz("ClassFile.Nerbo")},
  };
  for (const Entry& entry : before) Seed(entry.root, entry.path, entry.value, entry.bytes, entry.type);
  std::vector<Entry> expected = before;
  for (const Entry& entry :
       ForTheUser(FreshLayout(KitPath(HostConventions().java_tool), KitPath(HostConventions().javac_tool))))
    expected.push_back(entry);
  expected.push_back({kCurrentUser, "Software\\Classes\\.class", "BackUp", Sz("userclass")});

  RefusingRegistry refusing(registry(), kLocalMachine, Refusal::kOpening);
  EXPECT_EQ(Install(refusing), kMsgUninstallHint);
  EXPECT_EQ(console_.out, std::string(kInstalled) + kCompileMenu +
                              "L'installazione vale solo per l'utente corrente. Per installare per tutti\n"
                              "gli utenti, eseguire il programma da un prompt dei comandi aperto come\n"
                              "amministratore.\n\n" +
                              kUninstallHint);
  EXPECT_EQ(console_.err, "");
  EXPECT_EQ(Dump(), DumpOf(expected));
}

// The type the machine gives jars keeps its double click for the user too:
// the console verbs join it in the user's own classes.
TEST_P(Installer, WithoutRightsOnTheMachineItsJarTypeGainsTheVerbsForTheUser) {
  PutKit();
  Seed(kClassesRoot, ".jar", "", Sz("jarfile"));
  Seed(kClassesRoot, "jarfile\\Shell\\open\\command", "", Sz("javaw.exe -jar \"%1\""));
  RefusingRegistry refusing(registry(), kLocalMachine, Refusal::kOpening);
  EXPECT_EQ(Install(refusing), kMsgUninstallHint);
  EXPECT_FALSE(Value(kCurrentUser, "Software\\Classes\\.jar", ""));
  EXPECT_TRUE(Value(kCurrentUser, "Software\\Classes\\jarfile\\Shell\\Run in console\\command", ""));
}

// Nothing of `.class` is replaced when its key cannot be written.
TEST_P(Installer, ARefusedClassKeyIsNamedAndKeepsWhatItNames) {
  PutKit();
  Seed(kClassesRoot, ".class", "", Sz("classfile"));
  RefusingRegistry refusing(registry(), kClassesRoot, Refusal::kOpening);
  EXPECT_EQ(Install(refusing), kMsgRegistryWriteRefused);
  EXPECT_EQ(console_.out, "");
  EXPECT_EQ(console_.err,
            "Impossibile scrivere nel registro la chiave HKEY_CLASSES_ROOT\\.class: "
            "Permission denied\nInstallazione non eseguita: eseguire il programma come amministratore.\n\n");
  EXPECT_EQ(Bytes(kClassesRoot, ".class", ""), Sz("classfile"));
  EXPECT_FALSE(Value(kClassesRoot, ".class", "BackUp"));
}

INSTANTIATE_TEST_SUITE_P(Backends, Installer, testing::ValuesIn(DumpableBackends()), BackendName);

}  // namespace
}  // namespace nerbo
