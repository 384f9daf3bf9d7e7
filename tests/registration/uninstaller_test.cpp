#include <gtest/gtest.h>

#include <functional>

#include "core/message_code.h"
#include "registration/delete_key_tree.h"
#include "registration/registration_failure.h"
#include "registration/registration_harness.h"
#include "support/file_contents.h"
#include "support/memory_registry.h"
#include "support/refusing_registry.h"
#include "support/registry_dump.h"

namespace nerbo {
namespace {

constexpr char kSettings[] = "SOFTWARE\\Vesk\\Nerbo";
constexpr char kUninstallParent[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

using Seeder = std::function<void(Registry&)>;

struct RoundTripCase {
  const char* reason;
  bool with_javac;
  Seeder before;
  // What must differ from `before` after installing and uninstalling.
  Seeder leftovers;
};

// Installing and uninstalling again leaves the empty vendor key and the
// uninstall key's parents, whatever else it finds.
void CommonLeftovers(Registry& registry) {
  SeedKeyIn(registry, kLocalMachine, "SOFTWARE\\Vesk");
  SeedKeyIn(registry, kLocalMachine, kUninstallParent);
}

void OtherClassType(Registry& registry) { SeedIn(registry, kClassesRoot, ".class", "", Sz("classfile")); }

void TextFileType(Registry& registry) {
  SeedIn(registry, kClassesRoot, ".java", "", Sz("txtfile"));
  SeedIn(registry, kClassesRoot, "txtfile", "", Sz("Text Document"));
  SeedIn(registry, kClassesRoot, "txtfile\\DefaultIcon", "", Sz("shell32.dll,-152"));
  SeedIn(registry, kClassesRoot, "txtfile\\Shell", "", Sz("open"));
  SeedIn(registry, kClassesRoot, "txtfile\\Shell\\open\\command", "", Sz("write %1"));
}

std::vector<RoundTripCase> RoundTripCases() {
  const Seeder nothing = [](Registry&) {};
  return {
      {"FreshSystem", true, nothing, nothing},
      {"FreshSystemWithoutJavac", false, nothing, nothing},
      {"ClassNamedAnotherType", true, OtherClassType, nothing},
      // The saved name goes back as a plain text with its byte count.
      {"ClassNamedAnotherTypeAsExpandableText", true,
       [](Registry& r) { SeedIn(r, kClassesRoot, ".class", "", Sz("jclass"), 2); },
       [](Registry& r) { SeedIn(r, kClassesRoot, ".class", "", Sz("jclass"), kRegSz); }},
      // Read whole and saved like any other, not lost at uninstallation.
      {"ClassNamedAnotherTypeLongerThan256Bytes", true,
       [](Registry& r) { SeedIn(r, kClassesRoot, ".class", "", Sz(std::string(300, 'c'))); }, nothing},
      {"ClassKeyWithEmptyDefault", true, [](Registry& r) { SeedIn(r, kClassesRoot, ".class", "", Sz("")); },
       // An empty default value is not saved, so .class goes with the tool's name.
       [](Registry& r) { r.DeleteKey(kClassesRoot, ".class"); }},
      {"ReusedTypeWithOtherVerbs", true, TextFileType, nothing},
      {"ReusedTypeWithItsOwnEdit", true,
       [](Registry& r) {
         TextFileType(r);
         SeedIn(r, kClassesRoot, "txtfile\\Shell\\Edit\\command", "", Sz("%SystemRoot%\\notepad.exe /e %1"),
                2);
       },
       nothing},
      {"ReusedTypeWithoutShell", true,
       [](Registry& r) {
         SeedIn(r, kClassesRoot, ".java", "", Sz("txtfile"));
         SeedIn(r, kClassesRoot, "txtfile", "", Sz("Text Document"));
         SeedIn(r, kClassesRoot, "txtfile\\DefaultIcon", "", Sz("shell32.dll,-152"));
       },
       nothing},
      // The description the installer gave the type stays.
      {"ReusedTypeWithoutKey", true, [](Registry& r) { SeedIn(r, kClassesRoot, ".java", "", Sz("jfile")); },
       [](Registry& r) { SeedIn(r, kClassesRoot, "jfile", "", Sz("Java File")); }},
      {"ReusedTypeWithoutJavac", false, TextFileType, nothing},
      // Read as the type `txtfile`: no key with an empty name, which the
      // registry file could not hold, comes of it.
      {"ReusedTypeNamedWithAnEmptyLevel", true,
       [](Registry& r) {
         TextFileType(r);
         SeedIn(r, kClassesRoot, ".java", "", Sz("txtfile\\"));
       },
       nothing},
      {"JarNamesARuntimesType", false,
       [](Registry& r) {
         SeedIn(r, kClassesRoot, ".jar", "", Sz("jarfile"));
         SeedIn(r, kClassesRoot, "jarfile\\Shell\\open\\command", "", Sz("javaw.exe -jar \"%1\" %*"), 2);
       },
       nothing},
      {"JarTypeWithoutShell", true,
       [](Registry& r) {
         SeedIn(r, kClassesRoot, ".jar", "", Sz("jarfile"));
         SeedIn(r, kClassesRoot, "jarfile", "", Sz("Executable Jar File"));
       },
       nothing},
      // Each comes back from `BackUp` with its type and bytes.
      {"JarNamingATypeThatIsGoneAsExpandableText", true,
       [](Registry& r) { SeedIn(r, kClassesRoot, ".jar", "", Sz("jarfile"), 2); }, nothing},
      {"JarWithAnEmptyName", true, [](Registry& r) { SeedIn(r, kClassesRoot, ".jar", "", Sz("")); }, nothing},
      {"JarWithoutADefaultValue", true,
       [](Registry& r) {
         SeedIn(r, kClassesRoot, ".jar", "Content Type", Sz("application/java-archive"));
         SeedKeyIn(r, kClassesRoot, ".jar\\OpenWithProgids");
       },
       nothing},
      {"JavaNamingTheToolsTypeGoesWhole", true,
       [](Registry& r) { SeedIn(r, kClassesRoot, ".java\\ShellNew", "NullFile", Sz("")); },
       [](Registry& r) {
         RegKey java = 0;
         r.OpenKey(kClassesRoot, ".java", &java);
         DeleteKeyTree(r, kClassesRoot, ".java");
       }},
  };
}

using Uninstaller = RegistrationTest;

TEST_P(Uninstaller, UndoesAnInstallationAndRestoresWhatItReplaced) {
  for (const RoundTripCase& c : RoundTripCases()) {
    SCOPED_TRACE(c.reason);
    std::unique_ptr<Registry> expected = MakeMemoryRegistry();
    c.before(*expected);
    CommonLeftovers(*expected);
    c.leftovers(*expected);

    ResetRegistry();
    c.before(registry());
    PutKit(c.with_javac);
    ASSERT_EQ(Install(), kMsgUninstallHint);
    EXPECT_EQ(Uninstall(), kMsgUninstalled);
    EXPECT_EQ(console_.out, "\nDisinstallazione eseguita.\n\n");
    EXPECT_EQ(console_.err, "");
    EXPECT_EQ(Dump(), DumpRegistry(*expected));
  }
}

TEST_P(Uninstaller, ASecondUninstallationChangesNothing) {
  PutKit();
  TextFileType(registry());
  ASSERT_EQ(Install(), kMsgUninstallHint);
  ASSERT_EQ(Uninstall(), kMsgUninstalled);
  std::string after_first = Dump();
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(Dump(), after_first);
}

TEST_P(Uninstaller, WithoutAnyInstallationItStillEndsWith16) {
  OtherClassType(registry());
  Seed(kClassesRoot, ".java", "", Sz("txtfile"));
  Seed(kClassesRoot, "txtfile\\Shell\\Edit\\command", "", Sz("write.exe %1"));
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(console_.err, "");
  EXPECT_EQ(Bytes(kClassesRoot, ".class", ""), Sz("classfile"));
  // A user's own Edit command is never the tool's to remove.
  std::optional<StoredValue> edit = Value(kClassesRoot, "txtfile\\Shell\\Edit\\command", "");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->bytes, Sz("write.exe %1"));
  EXPECT_FALSE(Exists(kLocalMachine, "SOFTWARE\\Vesk"));
}

TEST_P(Uninstaller, LeavesAClassAssociationThatAnotherProgramChanged) {
  PutKit();
  ASSERT_EQ(Install(), kMsgUninstallHint);
  Seed(kClassesRoot, ".class", "", Sz("otherprogram.class"));
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(Bytes(kClassesRoot, ".class", ""), Sz("otherprogram.class"));
  EXPECT_FALSE(Exists(kClassesRoot, "ClassFile.Nerbo"));
}

// A key that still has subkeys cannot go by a single deletion; that is no
// refusal to report.
TEST_P(Uninstaller, AClassKeyWithSubkeysStaysWithoutComplaint) {
  PutKit();
  ASSERT_EQ(Install(), kMsgUninstallHint);
  SeedKey(kClassesRoot, ".class\\OpenWithProgids");
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_TRUE(Exists(kClassesRoot, ".class\\OpenWithProgids"));
  EXPECT_FALSE(Exists(kLocalMachine, kSettings));
}

TEST_P(Uninstaller, AppliesTheFlagsToTheTypeJavaNames) {
  PutKit();
  TextFileType(registry());
  ASSERT_EQ(Install(), kMsgUninstallHint);
  SeedKey(kClassesRoot, "txtfile\\Shell\\print");
  Seed(kLocalMachine, kSettings, "UninstallInfo", Dword(kIconFlag | kShellFlag), kRegDword);
  Seed(kClassesRoot, "txtfile\\Shell\\open", "", Sz(""));
  DeleteKeyTree(registry(), kClassesRoot, "txtfile\\Shell\\open");
  DeleteKeyTree(registry(), kClassesRoot, "txtfile\\Shell\\print");
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_FALSE(Exists(kClassesRoot, "txtfile\\DefaultIcon"));
  EXPECT_FALSE(Exists(kClassesRoot, "txtfile\\Shell"));
  EXPECT_EQ(Bytes(kClassesRoot, "txtfile", ""), Sz("Text Document"));
  EXPECT_EQ(Bytes(kClassesRoot, ".java", ""), Sz("txtfile"));
}

TEST_P(Uninstaller, RestoresTheEditCommandItReplacedWithItsType) {
  PutKit();
  Seed(kClassesRoot, ".java", "", Sz("txtfile"));
  Seed(kClassesRoot, "txtfile\\Shell\\Edit\\command", "", Sz("%SystemRoot%\\notepad.exe %1"), 2);
  ASSERT_EQ(Install(), kMsgUninstallHint);
  ASSERT_EQ(Bytes(kClassesRoot, "txtfile\\Shell\\Edit\\command", ""), Sz("notepad %1"));
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  std::optional<StoredValue> edit = Value(kClassesRoot, "txtfile\\Shell\\Edit\\command", "");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->type, 2u);
  EXPECT_EQ(edit->bytes, Sz("%SystemRoot%\\notepad.exe %1"));
  EXPECT_FALSE(Value(kClassesRoot, "txtfile\\Shell\\Edit\\command", "BackUp"));
}

struct RefusalCase {
  const char* reason;
  RegKey root;
  Refusal refusal;
  const char* stays;  // a key of the installation under `root` that is left
  const char* what;   // what the line says could not be done
};

class UninstallerRefused : public RegistrationTest {};

TEST_P(UninstallerRefused, SaysSoInsteadOfReportingSuccess) {
  const RefusalCase cases[] = {
      {"NoAccessToLocalMachine", kLocalMachine, Refusal::kOpening, kSettings,
       "aprire nel registro la chiave HKEY_LOCAL_MACHINE\\SOFTWARE"},
      {"NoDeletionInLocalMachine", kLocalMachine, Refusal::kDeleting, kSettings,
       "rimuovere dal registro la chiave HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo"},
      {"NoDeletionInClassesRoot", kClassesRoot, Refusal::kDeleting, "ClassFile.Nerbo",
       "rimuovere dal registro la chiave HKEY_CLASSES_ROOT\\ClassFile.Nerbo"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.reason);
    ResetRegistry();
    PutKit();
    ASSERT_EQ(Install(), kMsgUninstallHint);
    const std::optional<std::string> installed = FileContents(instance_.file);
    RefusingRegistry refusing(registry(), c.root, c.refusal);
    EXPECT_EQ(Uninstall(refusing), kMsgRemovalRefused);
    if (!instance_.file.empty()) {
      EXPECT_EQ(FileContents(instance_.file), installed) << "the registry file changed";
    }
    EXPECT_EQ(console_.out, "");
    EXPECT_EQ(console_.err,
              std::string("\nImpossibile ") + c.what +
                  ": Permission denied\n"
                  "Disinstallazione non completata: eseguire il programma come amministratore.\n\n");
    EXPECT_TRUE(Exists(c.root, c.stays));
  }
}

TEST_P(UninstallerRefused, NothingToRemoveIsNoRefusal) {
  for (RegKey root : {kLocalMachine, kClassesRoot}) {
    ResetRegistry();
    RefusingRegistry refusing(registry(), root, Refusal::kDeleting);
    EXPECT_EQ(Uninstall(refusing), kMsgUninstalled);
    EXPECT_EQ(console_.err, "");
  }
}

// An administrator removes the machine's registration first; the next
// removal takes the user's own.
TEST_P(Uninstaller, WithBothRegistrationsTheMachinesGoesAndTheUsersOwnIsNamed) {
  PutKit();
  RefusingRegistry standard_user(registry(), kLocalMachine, Refusal::kOpening);
  ASSERT_EQ(Install(standard_user), kMsgUninstallHint);
  ASSERT_EQ(Install(), kMsgUninstallHint);
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(console_.out,
            "\nResta l'installazione per l'utente corrente: per rimuoverla eseguire\n"
            "di nuovo il programma passandogli il parametro \"/u\".\n\nDisinstallazione eseguita.\n\n");
  EXPECT_FALSE(Exists(kLocalMachine, kSettings));
  EXPECT_EQ(Bytes(kCurrentUser, "SOFTWARE\\Classes\\.class", ""), Sz("ClassFile.Nerbo"));
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_FALSE(Exists(kCurrentUser, kSettings));
}

TEST_P(Uninstaller, DeleteKeyTreeRemovesEveryLevelAndNothingBeside) {
  for (const char* child : {"a", "b", "c", "d", "e"}) {
    for (const char* grandchild : {"x", "y", "z"}) {
      Seed(kClassesRoot, std::string("Tree\\") + child + "\\" + grandchild, "v", Sz(child));
    }
  }
  Seed(kClassesRoot, "Tree", "", Sz("root"));
  Seed(kClassesRoot, "TreeBeside\\a", "", Sz("stays"));
  EXPECT_EQ(DeleteKeyTree(registry(), kClassesRoot, "Tree"), kRegSuccess);
  EXPECT_FALSE(Exists(kClassesRoot, "Tree"));
  EXPECT_TRUE(Value(kClassesRoot, "TreeBeside\\a", ""));
  EXPECT_EQ(DeleteKeyTree(registry(), kClassesRoot, "Tree"), kRegFileNotFound);
}

INSTANTIATE_TEST_SUITE_P(Backends, Uninstaller, testing::ValuesIn(DumpableBackends()), BackendName);
INSTANTIATE_TEST_SUITE_P(Backends, UninstallerRefused, testing::ValuesIn(DumpableBackends()), BackendName);

}  // namespace
}  // namespace nerbo
