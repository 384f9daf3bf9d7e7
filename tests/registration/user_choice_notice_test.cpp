#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "core/message_code.h"
#include "registration/registration_harness.h"

namespace nerbo {
namespace {

constexpr char kFileExts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

std::string Notice(const std::string& extensions) {
  return "Nota: Esplora risorse apre i file " + extensions +
         " con l'app scelta dall'utente; per usare Nerbo: clic destro su un file, \"Apri con\" -> "
         "\"Scegli un'altra app\".\n\n";
}

struct ChoiceCase {
  const char* reason;
  const char* class_choice;   // ProgId under .class's UserChoice, or null for no such key
  const char* source_choice;  // the same for .java
  bool with_javac;
  const char* java_names;  // what .java names before installing, or null
  std::string notice;      // expected as the last thing the installation prints
};

const ChoiceCase kChoiceCases[] = {
    {"NoChoice", nullptr, nullptr, true, nullptr, ""},
    {"ClassChosenElsewhere", "Applications\\javaw.exe", nullptr, true, nullptr, Notice(".class")},
    {"SourceChosenElsewhere", nullptr, "txtfile", true, nullptr, Notice(".java")},
    {"BothChosenElsewhere", "jarfile", "txtfile", true, nullptr, Notice(".class e .java")},
    {"ChoiceIsTheToolsOwnType", "classfile.nerbo", "JavaFile.Nerbo", true, nullptr, ""},
    {"ChoiceIsTheReusedSourceType", nullptr, "txtfile", true, "txtfile", ""},
    {"SourceChoiceWithoutJavacIsNoConcern", nullptr, "txtfile", false, nullptr, ""},
    {"ChoiceWithoutProgId", "", nullptr, true, nullptr, ""},
};

class UserChoiceNotice : public RegistrationTest {
 protected:
  // The dump's part for HKEY_CURRENT_USER, which comes last.
  std::string UserKeys() {
    std::string dump = Dump();
    std::size_t at = dump.find("HKEY_CURRENT_USER");
    return at == std::string::npos ? std::string() : dump.substr(at);
  }
};

TEST_P(UserChoiceNotice, TellsWhenTheUsersOwnChoiceKeepsTheExplorerFromTheTool) {
  for (const ChoiceCase& c : kChoiceCases) {
    SCOPED_TRACE(c.reason);
    ResetRegistry();
    std::filesystem::remove(temp_.path() / HostConventions().javac_tool);
    PutKit(c.with_javac);
    const std::pair<const char*, const char*> choices[] = {{".class", c.class_choice},
                                                           {".java", c.source_choice}};
    for (const auto& [extension, prog_id] : choices) {
      if (!prog_id) continue;
      std::string choice = std::string(kFileExts) + extension + "\\UserChoice";
      if (*prog_id) {
        Seed(kCurrentUser, choice, "ProgId", Sz(prog_id));
      } else {
        SeedKey(kCurrentUser, choice);
      }
    }
    if (c.java_names) Seed(kClassesRoot, ".java", "", Sz(c.java_names));
    std::string user_before = UserKeys();

    ASSERT_EQ(Install(), kMsgUninstallHint);
    const std::string end = "Per disinstallare eseguire il programma passandogli il parametro \"/u\".\n";
    std::size_t notice = console_.out.find("Nota:");
    EXPECT_EQ(notice == std::string::npos ? std::string() : console_.out.substr(notice),
              std::string(c.notice).empty() ? std::string() : c.notice + end);
    EXPECT_EQ(UserKeys(), user_before) << "the choice is the user's";
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, UserChoiceNotice, testing::ValuesIn(DumpableBackends()), BackendName);

}  // namespace
}  // namespace nerbo
