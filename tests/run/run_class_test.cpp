#include "run/run_class.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/message_code.h"
#include "launcher/run_sequence.h"
#include "registration/registry_layout.h"
#include "support/mode_harness.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"
#include "support/synthetic_class_file.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

constexpr char kJava[] = "C:\\jdk\\bin\\java.exe";
constexpr char kJdkClassPath[] = ".;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip";
// The end of a run whose Java program ended with 0.
constexpr char kProgramDone[] = "\nProgramma Java terminato correttamente.\n\n";

class RunClassTest : public testing::Test {
 protected:
  RunClassTest() { harness_.SetToolPath(kRunValue, kJava); }

  // Writes the class file `directory`/`file_name` (below the temp directory)
  // and makes its directory current, as the launcher does.
  void PlaceClass(const std::string& directory, const std::string& file_name,
                  const std::string& internal_name, bool class_reference_follows = false,
                  const char* mentioned_first = nullptr) {
    fs::path place = temp_.path() / directory;
    fs::create_directories(place);
    WriteSyntheticClassFile(place / file_name, internal_name, class_reference_follows, mentioned_first);
    fs::current_path(place);
  }

  ScopedEnvironment no_user_class_path_{"CLASSPATH"};
  ScopedTempDir temp_;
  ScopedCurrentDirectory in_temp_{temp_.path()};
  ModeHarness harness_{kWindowsConventions};
};

struct PackageCase {
  const char* reason;
  const char* directory;
  const char* internal_name;
  const char* qualified_name;
  const char* mentioned_first = nullptr;  // a class of the same simple name
};

class RunClassInPackage : public RunClassTest, public testing::WithParamInterface<PackageCase> {};

TEST_P(RunClassInPackage, StartsJavaAtThePackageRootWithTheQualifiedName) {
  const PackageCase& c = GetParam();
  PlaceClass(c.directory, "Hello.class", c.internal_name, false, c.mentioned_first);
  harness_.SetTarget("Hello.class", {"a", "b"});

  EXPECT_EQ(harness_.Run(RunClass), kMsgProgramDone);

  ASSERT_EQ(harness_.calls.size(), 1u);
  const SpawnCall& call = harness_.calls[0];
  EXPECT_EQ(call.program, kJava);
  EXPECT_EQ(call.arguments,
            (std::vector<std::string>{"java.exe", "-classpath", kJdkClassPath, c.qualified_name, "a b "}));
  EXPECT_TRUE(fs::equivalent(call.directory, temp_.path())) << call.directory;
  EXPECT_EQ(harness_.console.transcript, std::string("Sto avviando il programma (className: \"") +
                                             c.qualified_name + "\").\nAttendere.\n\n" + kProgramDone);
}

const PackageCase kPackageCases[] = {
    {"DefaultPackage", ".", "Hello", "Hello"},
    {"OneLevel", "app", "app/Hello", "app.Hello"},
    {"ThreeLevels", "org/nerbo/demo", "org/nerbo/demo/Hello", "org.nerbo.demo.Hello"},
    // The byte scan took the other class: the run ended with 24, or (when the
    // folders end in that class's package) java started it a folder too low.
    {"AnotherOfTheNameMentionedFirst", "demo/sql", "demo/sql/Hello", "demo.sql.Hello", "java/util/Hello"},
    {"AMentionedNameTheFoldersEndIn", "com/sun/jgss", "com/sun/jgss/Hello", "com.sun.jgss.Hello",
     "sun/jgss/Hello"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RunClassInPackage, testing::ValuesIn(kPackageCases),
                         [](const testing::TestParamInfo<PackageCase>& param_info) {
                           return param_info.param.reason;
                         });

// Compiled in place without -d: the class file of package demo sits in the
// folder above demo, where no climb leads java to it. The advice names the
// class's own package, not the other class's that the file mentions first.
TEST_F(RunClassTest, AClassOutsideItsPackageFolderStartsNothingAndSaysWhereItBelongs) {
  PlaceClass("Desktop", "Hello.class", "org/demo/Hello", false, "java/util/Hello");
  harness_.SetTarget("Hello.class");

  EXPECT_EQ(harness_.Run(RunClass), kMsgClassOutsidePackage);
  EXPECT_TRUE(harness_.calls.empty());
  EXPECT_TRUE(fs::equivalent(fs::current_path(), temp_.path() / "Desktop"));
  EXPECT_EQ(harness_.console.out, "");
  EXPECT_EQ(harness_.console.err,
            "La classe org.demo.Hello non si trova nella directory del suo package.\n"
            "Il file Hello.class deve stare in org\\demo\\ sotto la directory radice dei package:\n"
            "spostarlo li', oppure compilare con javac -d seguito da quella directory.\n\n");
}

struct FileNameCase {
  const char* reason;
  const Conventions& conventions;
  const char* file_name;
  int code;
};

class RunClassFileName : public RunClassTest, public testing::WithParamInterface<FileNameCase> {};

// java looks for class Hello in Hello.class, as the file system finds it: a
// file of another name would have it start that file's class, or none.
TEST_P(RunClassFileName, OnlyAFileNamedAfterItsClassStartsIt) {
  const FileNameCase& c = GetParam();
  ModeHarness harness(c.conventions);
  harness.SetToolPath(kRunValue, kJava);
  PlaceClass("demo", c.file_name, "demo/Hello");
  harness.SetTarget(c.file_name);
  EXPECT_EQ(harness.Run(RunClass), c.code);
  if (c.code != kMsgClassFileMisnamed) return;
  EXPECT_TRUE(harness.calls.empty());
  EXPECT_EQ(harness.console.err, "La classe demo.Hello si trova nel file " + std::string(c.file_name) +
                                     ", ma java la cerca in Hello.class.\nRinominare il file in Hello.class "
                                     "(in un'altra directory, se quel nome c'e' gia').\n\n");
}

const FileNameCase kFileNameCases[] = {
    {"ACopyWithANumber", kWindowsConventions, "Hello (1).class", kMsgClassFileMisnamed},
    {"ACopyNamedAsACopy", kPosixConventions, "Copy of Hello.class", kMsgClassFileMisnamed},
    {"LetterCaseCountsOnLinux", kPosixConventions, "hello.class", kMsgClassFileMisnamed},
    {"LetterCaseIgnoredOnWindows", kWindowsConventions, "hello.class", kMsgProgramDone},
};

INSTANTIATE_TEST_SUITE_P(Cases, RunClassFileName, testing::ValuesIn(kFileNameCases),
                         [](const testing::TestParamInfo<FileNameCase>& param_info) {
                           return param_info.param.reason;
                         });

TEST_F(RunClassTest, AModulesDescriptorStartsNothing) {
  std::ofstream(temp_.path() / "module-info.class", std::ios::binary)
      << ClassFileBytes().Text("module-info").ClassReference(1).EndPool(2, 0x8000).bytes();
  harness_.SetTarget("module-info.class");
  EXPECT_EQ(harness_.Run(RunClass), kMsgClassFileMisnamed);
  EXPECT_EQ(
      harness_.console.err,
      "Il file module-info.class descrive un modulo (module-info), non contiene una classe da avviare.\n"
      "Avviare invece la classe del modulo che ha il metodo main.\n\n");
}

TEST_F(RunClassTest, AnEmptyArgumentStringIsStillTheLastArgument) {
  PlaceClass(".", "Hello.class", "Hello");
  harness_.SetTarget("Hello.class");
  harness_.Run(RunClass);
  ASSERT_EQ(harness_.calls.size(), 1u);
  ASSERT_EQ(harness_.calls[0].arguments.size(), 5u);
  EXPECT_EQ(harness_.calls[0].arguments[4], "");
}

TEST_F(RunClassTest, TheJBuilderNoteComesBeforeTheAnnouncement) {
  PlaceClass("pkg", "Tool.class", "pkg/Tool", true);
  harness_.SetTarget("Tool.class");
  EXPECT_EQ(harness_.Run(RunClass), kMsgProgramDone);
  EXPECT_EQ(
      harness_.console.transcript,
      std::string("Classe JBuilder\nSto avviando il programma (className: \"pkg.Tool\").\nAttendere.\n\n") +
          kProgramDone);
}

TEST_F(RunClassTest, AfterACompileTheClassFileBesideTheSourceIsOpened) {
  PlaceClass("a/b", "Hello.class", "a/b/Hello");
  temp_.Touch("a/b/Hello.java");
  harness_.SetTarget("Hello.java", {"/ExecuteAfterCompile", "x"});
  harness_.context().run_after_compile = true;

  EXPECT_EQ(harness_.Run(RunClass), kMsgProgramDone);
  ASSERT_EQ(harness_.calls.size(), 1u);
  EXPECT_EQ(harness_.calls[0].arguments[3], "a.b.Hello");
  EXPECT_EQ(harness_.calls[0].arguments[4], "/ExecuteAfterCompile x ");
  EXPECT_TRUE(fs::equivalent(harness_.calls[0].directory, temp_.path()));
}

TEST_F(RunClassTest, AKitPathWithBlanksReachesJavaAsOneClassPathArgument) {
  harness_.SetToolPath(kRunValue, "C:\\Program Files\\jdk\\bin\\java.exe");
  PlaceClass(".", "Hello.class", "Hello");
  harness_.SetTarget("Hello.class");
  harness_.Run(RunClass);
  ASSERT_EQ(harness_.calls.size(), 1u);
  EXPECT_EQ(harness_.calls[0].arguments[2],
            "\".;%CLASSPATH%;C:\\Program Files\\jdk\\classes;C:\\Program Files\\jdk\\lib\\classes.zip\"");
}

TEST_F(RunClassTest, TheUsersClassPathIsExpandedWhenSet) {
  ScopedEnvironment user_class_path("CLASSPATH", "C:\\lib\\extra.jar");
  PlaceClass(".", "Hello.class", "Hello");
  harness_.SetTarget("Hello.class");
  harness_.Run(RunClass);
  ASSERT_EQ(harness_.calls.size(), 1u);
  EXPECT_EQ(harness_.calls[0].arguments[2],
            ".;C:\\lib\\extra.jar;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip");
}

struct EndCase {
  const char* reason;
  SpawnResult result;
  int code;
};

class RunClassEnd : public RunClassTest, public testing::WithParamInterface<EndCase> {};

TEST_P(RunClassEnd, TheChildsEndSelectsTheMessageCode) {
  PlaceClass(".", "Hello.class", "Hello");
  harness_.SetTarget("Hello.class");
  harness_.results.push_back(GetParam().result);
  EXPECT_EQ(harness_.Run(RunClass), GetParam().code);
}

const EndCase kEndCases[] = {
    {"StatusZero", ExitedWith(0), kMsgProgramDone},
    {"StatusThree", ExitedWith(3), kMsgProgramFailed},
    {"StatusMinusOneIsAnEndNotAFailedStart", ExitedWith(0xFFFFFFFFu), kMsgProgramFailed},
    {"NotStarted", NotStarted(), kMsgSpawnFailed},
};

INSTANTIATE_TEST_SUITE_P(Cases, RunClassEnd, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& param_info) {
                           return param_info.param.reason;
                         });

TEST_F(RunClassTest, WithoutARunValueNothingStartsAndTheEndNamesAMissingFile) {
  ModeHarness uninstalled(kWindowsConventions);
  PlaceClass(".", "Hello.class", "Hello");
  uninstalled.SetTarget("Hello.class");

  int code = uninstalled.Run(RunClass);
  EXPECT_EQ(code, kMsgSpawnFailed);
  EXPECT_TRUE(uninstalled.calls.empty());
  EXPECT_NE(uninstalled.console.out.find("(className: \"Hello\").\nAttendere.\n\n"), std::string::npos);
  EXPECT_EQ(uninstalled.console.err, "Spawnl non andata a buon fine\n\n: No such file or directory\n");
}

}  // namespace
}  // namespace nerbo
