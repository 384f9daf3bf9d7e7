#include "launcher/run_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "core/message_code.h"
#include "core/settings_key.h"
#include "support/memory_registry.h"
#include "support/process_end.h"
#include "support/recording_console.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

SpawnResult NoChild(const std::string&, const std::vector<std::string>&) { return SpawnResult{}; }

class RunSequence : public testing::Test {
 protected:
  RunSequence()
      : registry_(MakeMemoryRegistry()), context_(*registry_, console_, HostConventions(), NoChild) {}

  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "/opt/kit/bin/nerbo");
    context_.arguments = arguments;
    return RunToStatus(context_);
  }

  ScopedTempDir temp_;
  ScopedCurrentDirectory in_temp_{temp_.path()};
  std::unique_ptr<Registry> registry_;
  RecordingConsole console_;
  RunContext context_;
};

TEST_F(RunSequence, PrintsTheBannerFirstInEveryRun) {
  Run({"missing.class"});
  EXPECT_EQ(console_.out.rfind("\t\t    ****   Nerbo.exe (ver. 1.3.4)   ****\n", 0), 0u);
}

TEST_F(RunSequence, MissingFileEndsWithCode6) { EXPECT_EQ(Run({"missing.class"}), kMsgFileNotFound); }

TEST_F(RunSequence, TheExtensionFoundOnDiskDecidesTheMode) {
  temp_.Touch("Hello.CLASS");
  EXPECT_EQ(Run({"Hello.class"}), kMsgUnsupportedFile);
  EXPECT_EQ(context_.found_name, "Hello.CLASS");
  EXPECT_EQ(context_.extension, ".CLASS");
}

TEST_F(RunSequence, ANameTypedInOtherLetterCaseIsFoundAsStored) {
  temp_.Touch("ReadMe.Txt");
  EXPECT_EQ(Run({"README.TXT"}), kMsgUnsupportedFile);
  EXPECT_EQ(context_.found_name, "ReadMe.Txt");
  EXPECT_EQ(context_.name, "ReadMe");
}

TEST_F(RunSequence, ATargetInAnotherDirectoryMakesThatDirectoryCurrent) {
  fs::create_directories(temp_.path() / "sub" / "dir");
  temp_.Touch("sub/dir/notes.txt");
  EXPECT_EQ(Run({(temp_.path() / "sub" / "dir" / "notes.txt").string()}), kMsgUnsupportedFile);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), temp_.path() / "sub" / "dir"));
}

TEST_F(RunSequence, ATargetWhoseDirectoryCannotBeEnteredIsNotLookedForHere) {
  temp_.Touch("Hello.java");
  EXPECT_EQ(Run({(temp_.path() / "missing" / "Hello.java").string()}), kMsgFileNotFound);
}

TEST_F(RunSequence, WildcardsSelectTheFirstMatch) {
  temp_.Touch("b.txt");
  temp_.Touch("a.txt");
  EXPECT_EQ(Run({"*.txt"}), kMsgUnsupportedFile);
  EXPECT_EQ(context_.found_name, "a.txt");
}

// A character the command line could not carry arrives as '?'.
TEST_F(RunSequence, ATargetThatLostCharactersIsNotLookedFor) {
  temp_.Touch("A.class");
  context_.target_lost_characters = true;
  EXPECT_EQ(Run({"?.class"}), kMsgFileNotFound);
  EXPECT_EQ(context_.found_name, "");
}

// Cut to 260 characters, this path would name Evil.class beside the file.
TEST_F(RunSequence, APathTooLongToSplitEndsWith6InsteadOfNamingAnotherFile) {
  fs::path directory = temp_.path() / std::string(259 - 10 - temp_.path().string().size() - 1, 'd');
  fs::create_directories(directory);
  temp_.Touch((directory / "Evil.class").string());
  fs::path clicked = directory / "Evil.class.Good.class";
  temp_.Touch(clicked.string());
  ASSERT_EQ(clicked.string().substr(0, 260), (directory / "Evil.class").string());
  EXPECT_EQ(Run({clicked.string()}), kMsgFileNotFound);
  EXPECT_EQ(context_.found_name, "");
}

TEST_F(RunSequence, ATargetThatIsNoFileOfDataEndsWith6) {
  fs::create_directory(temp_.path() / "Hello.class");
  EXPECT_EQ(Run({"Hello.class"}), kMsgFileNotFound);
}

TEST_F(RunSequence, TheUninstallSwitchIgnoresLetterCaseAndComesAfterTheArguments) {
  EXPECT_EQ(Run({"/U", "a", "b"}), kMsgUninstalled);
  EXPECT_EQ(context_.argument_string, "a b ");
}

TEST_F(RunSequence, ThePromptSwitchReadsTheArgumentStringAndIgnoresTheRest) {
  temp_.Touch("x.txt");
  console_.input = "one two\r\nthree\n";
  EXPECT_EQ(Run({"x.txt", "/argstonerbo", "ignored"}), kMsgUnsupportedFile);
  EXPECT_EQ(context_.argument_string, "one two");
  EXPECT_NE(console_.out.find("Inserire gli argomenti per la classe java:\n\n"), std::string::npos);
}

TEST_F(RunSequence, TheArgumentStringIsCutAt1023Characters) {
  EXPECT_EQ(Run({"/u", std::string(600, 'a'), std::string(600, 'b')}), kMsgUninstalled);
  EXPECT_EQ(context_.argument_string, std::string(600, 'a') + " " + std::string(422, 'b'));
}

TEST_F(RunSequence, AnExceptionEscapingAModeEndsTheRunWithItsOwnCode) {
  temp_.Touch("Hello.class");
  const std::string java = "/opt/kit/bin/java";
  registry_->SetValue(CreatedSettingsKey(*registry_), kRunValue, kRegSz, java.data(),
                      static_cast<std::uint32_t>(java.size()));
  context_.spawn = [](const std::string&, const std::vector<std::string>&) -> SpawnResult {
    throw std::bad_alloc();
  };
  EXPECT_EQ(Run({"Hello.class"}), kMsgInternalError);
  EXPECT_NE(console_.err.find("Errore interno del programma: memoria insufficiente\n"), std::string::npos);
}

TEST_F(RunSequence, EndRunPrintsTheMessageWithTheArgumentAsTypedAndWaits) {
  console_.events = {KeyDown(16, kShift), KeyDown('A'), KeyDown('B')};
  context_.arguments = {"nerbo", "..\\Missing.class"};
  EXPECT_EQ(EndRun(context_, kMsgFileNotFound), kMsgFileNotFound);
  EXPECT_EQ(console_.out, "Impossibile trovare il file ..\\Missing.class\n\n");
  EXPECT_EQ(console_.events_read, 2u);
}

TEST_F(RunSequence, EndRunAfterACompileOnlyDoesNotWait) {
  console_.events = {KeyDown('A')};
  context_.arguments = {"nerbo", "Hello.java"};
  EXPECT_EQ(EndRun(context_, kMsgCompiled), kMsgCompiled);
  EXPECT_EQ(console_.events_read, 0u);
  EXPECT_EQ(console_.raw_begins, 0);
}

// The usage switches replace the run only when they are the only argument.
TEST_F(RunSequence, AUsageSwitchAloneAnswersWithoutBannerOrKeyWait) {
  const Conventions& host = HostConventions();
  struct Case {
    std::vector<std::string> arguments;
    int code;
    std::string printed;
  };
  std::vector<Case> cases = {
      {{host.help_switch}, kMsgUsage, std::string(host.program_name) + " 1.3.4: "},
      {{host.help_switch, "Hello.class"}, kMsgFileNotFound, "Impossibile trovare il file "},
  };
  if (host.version_switch) {
    cases.push_back({{host.version_switch}, kMsgUsage, std::string(host.program_name) + " 1.3.4\n"});
    cases.push_back({{host.version_switch, "/u"}, kMsgFileNotFound, "Impossibile trovare il file "});
  }
  for (const Case& c : cases) {
    console_.out.clear();
    console_.events = {KeyDown('A')};
    console_.events_read = 0;
    int code = Run(c.arguments);
    bool usage = code == kMsgUsage;
    EXPECT_EQ(code, c.code) << c.arguments.size() << " arguments from " << c.arguments[0];
    EXPECT_NE(console_.out.find(c.printed), std::string::npos) << console_.out;
    EXPECT_EQ(console_.out.find("****") == std::string::npos, usage) << "banner only in a run";
    EXPECT_EQ(console_.events_read, usage ? 0u : 1u) << "key wait only after a run";
  }
}

TEST_F(RunSequence, EndRunWithACodeWithoutMessageStillEndsWithIt) {
  context_.arguments = {"nerbo"};
  EXPECT_EQ(EndRun(context_, 42), 42);
  EXPECT_EQ(console_.out, "");
}

}  // namespace
}  // namespace nerbo
