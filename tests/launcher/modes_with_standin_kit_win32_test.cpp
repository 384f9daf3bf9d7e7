// The launch modes run whole, in process, with the real child launch and the
// stand-in java.exe and javac.exe, which record the command line and the
// directory they were started with.
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "core/message_code.h"
#include "launcher/run_sequence.h"
#include "registration/registry_layout.h"
#include "runtime/error_number.h"
#include "runtime/windows_api.h"
#include "standin/standin_log.h"
#include "support/crafted_archive.h"
#include "support/memory_registry.h"
#include "support/process_end.h"
#include "support/recording_console.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"
#include "support/synthetic_class_file.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

class ModesWithStandinKit : public testing::Test {
 protected:
  // The kit path is made absolute before any test changes directory: under
  // Wine the build path is a path of the current drive.
  ModesWithStandinKit()
      : bin_(fs::absolute(NERBO_STANDIN_KIT_BIN).make_preferred()),
        registry_(MakeMemoryRegistry()),
        context_(*registry_, console_, HostConventions(), SpawnProgram) {
    SetKit(bin_);
  }

  // Records `bin` as the directory of the kit's two tools, and gives the
  // kit directory as it appears in the class path (with its backslash).
  std::string SetKit(const fs::path& bin) {
    RegKey settings = CreatedSettingsKey(*registry_);
    std::string java = (bin / "java.exe").string();
    std::string javac = (bin / "javac.exe").string();
    registry_->SetValue(settings, kRunValue, kRegSz, java.data(), static_cast<std::uint32_t>(java.size()));
    registry_->SetValue(settings, kCompileValue, kRegSz, javac.data(),
                        static_cast<std::uint32_t>(javac.size()));
    return bin.parent_path().string() + "\\";
  }

  std::string KitClassPath(const std::string& root_entry) const {
    std::string kit = bin_.parent_path().string() + "\\";
    return root_entry + ";%CLASSPATH%;" + kit + "classes;" + kit + "lib\\classes.zip";
  }

  fs::path Place(const std::string& directory) const {
    fs::path place = (temp_.path() / directory).make_preferred();
    fs::create_directories(place);
    return place;
  }

  int Run(const fs::path& target, const std::vector<std::string>& further_arguments = {}) {
    context_.arguments = {"C:\\jdk\\bin\\Nerbo.exe", target.string()};
    context_.arguments.insert(context_.arguments.end(), further_arguments.begin(), further_arguments.end());
    return RunToStatus(context_);
  }

  std::vector<StandinRecord> Records() const {
    std::ifstream in(log_, std::ios::binary);
    return ParseStandinLog(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }

  ScopedTempDir temp_;
  ScopedCurrentDirectory in_temp_{temp_.path()};
  fs::path bin_;
  fs::path log_ = temp_.path() / "kit.log";
  ScopedEnvironment log_variable_{kStandinLogVariable, log_.string()};
  ScopedEnvironment no_status_{kStandinStatusVariable};
  ScopedEnvironment no_write_{kStandinWriteVariable};
  ScopedEnvironment no_user_class_path_{"CLASSPATH"};
  std::unique_ptr<Registry> registry_;
  RecordingConsole console_;
  RunContext context_;
};

TEST_F(ModesWithStandinKit, TheClassRunStartsJavaAtThePackageRoot) {
  fs::path place = Place("org/nerbo/demo");
  WriteSyntheticClassFile(place / "Hello.class", "org/nerbo/demo/Hello");

  EXPECT_EQ(Run(place / "Hello.class", {"a", "b"}), kMsgProgramDone);

  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line,
            "java.exe -classpath " + KitClassPath(".") + " org.nerbo.demo.Hello a b ");
  EXPECT_TRUE(fs::equivalent(records[0].directory, temp_.path())) << records[0].directory;
  EXPECT_FALSE(records[0].has_classpath);
}

TEST_F(ModesWithStandinKit, NoArgumentsLeaveOneBlankAtTheEndOfTheLine) {
  WriteSyntheticClassFile(Place(".") / "Hello.class", "Hello");
  EXPECT_EQ(Run(temp_.path() / "Hello.class"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "java.exe -classpath " + KitClassPath(".") + " Hello ");
}

// Package demo compiled in place: the class file sits in Desktop, not in
// Desktop\demo, and no climb leads java to it.
TEST_F(ModesWithStandinKit, AClassOutsideItsPackageFolderStartsNoJava) {
  fs::path desktop = Place("Desktop");
  WriteSyntheticClassFile(desktop / "Hello.class", "demo/Hello");

  EXPECT_EQ(Run(desktop / "Hello.class"), kMsgClassOutsidePackage);
  EXPECT_TRUE(Records().empty());
  EXPECT_NE(console_.err.find("Il file Hello.class deve stare in demo\\ sotto"), std::string::npos)
      << console_.err;
}

// Folder names ignore letter case on Windows, and so does the check.
TEST_F(ModesWithStandinKit, TheClassMovedIntoItsPackageFolderRunsWhateverItsLetterCase) {
  fs::path demo = Place("Desktop/DEMO");
  WriteSyntheticClassFile(demo / "Hello.class", "demo/Hello");

  EXPECT_EQ(Run(demo / "Hello.class"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(fs::equivalent(records[0].directory, temp_.path() / "Desktop")) << records[0].directory;
}

// java is asked for the class the file holds, not for the class of the same
// simple name that it mentions first; a copy under another name starts none.
TEST_F(ModesWithStandinKit, TheClassFileNamesItsOwnClass) {
  fs::path place = Place("com/sun/jgss");
  WriteSyntheticClassFile(place / "Hello.class", "com/sun/jgss/Hello", false, "sun/jgss/Hello");
  fs::copy_file(place / "Hello.class", place / "Hello (1).class");

  EXPECT_EQ(Run(place / "Hello (1).class"), kMsgClassFileMisnamed);
  EXPECT_EQ(Run(place / "Hello.class"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "java.exe -classpath " + KitClassPath(".") + " com.sun.jgss.Hello ");
  EXPECT_TRUE(fs::equivalent(records[0].directory, temp_.path())) << records[0].directory;
}

// The class file holds its name in UTF-8; the file system gives the file's
// name, and java reads its command line, in the ANSI code page (the stand-in
// records the command line it received in UTF-8).
TEST_F(ModesWithStandinKit, AClassNameBeyondAsciiReachesJavaInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1252u);
  std::ofstream("Caf\xE9.class", std::ios::binary) << SyntheticClassFile("Caf\xC3\xA9");
  context_.arguments = {"C:\\jdk\\bin\\Nerbo.exe", "Caf\xE9.class"};

  EXPECT_EQ(RunToStatus(context_), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "java.exe -classpath " + KitClassPath(".") + " Caf\xC3\xA9 ");
}

struct StatusCase {
  const char* reason;
  const char* status;
  int code;
};

class ClassRunStatus : public ModesWithStandinKit, public testing::WithParamInterface<StatusCase> {};

TEST_P(ClassRunStatus, TheJavaProgramsStatusSelectsTheMessageCode) {
  ScopedEnvironment status(kStandinStatusVariable, GetParam().status);
  WriteSyntheticClassFile(Place(".") / "Hello.class", "Hello");
  EXPECT_EQ(Run(temp_.path() / "Hello.class"), GetParam().code);
}

const StatusCase kStatusCases[] = {
    {"Zero", "0", kMsgProgramDone},
    {"Three", "3", kMsgProgramFailed},
    {"MinusOne", "4294967295", kMsgProgramFailed},
};

INSTANTIATE_TEST_SUITE_P(Cases, ClassRunStatus, testing::ValuesIn(kStatusCases),
                         [](const testing::TestParamInfo<StatusCase>& param_info) {
                           return param_info.param.reason;
                         });

TEST_F(ModesWithStandinKit, AMovedKitEndsWithCode8AndNoSuchFile) {
  SetKit(temp_.path() / "gone" / "bin");
  WriteSyntheticClassFile(Place(".") / "Hello.class", "Hello");
  SetErrorNumber(0);
  EXPECT_EQ(Run(temp_.path() / "Hello.class"), kMsgSpawnFailed);
  EXPECT_EQ(ErrorNumber(), kErrNoEntry);
  EXPECT_TRUE(Records().empty());
}

TEST_F(ModesWithStandinKit, AKitPathWithBlanksIsOneClassPathArgument) {
  fs::path bin = Place("my kit/bin");
  for (const char* tool : {"java.exe", "javac.exe"}) fs::copy_file(bin_ / tool, bin / tool);
  std::string kit = SetKit(bin);
  WriteSyntheticClassFile(Place(".") / "Hello.class", "Hello");

  EXPECT_EQ(Run(temp_.path() / "Hello.class"), kMsgProgramDone);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line,
            "java.exe -classpath \".;%CLASSPATH%;" + kit + "classes;" + kit + "lib\\classes.zip\" Hello ");
}

// Laid out as the jar tool writes it: the folder entry first, then the manifest.
void WriteJar(const fs::path& path, const std::string& manifest) {
  std::ofstream(path, std::ios::binary)
      << ArchiveBytes({{{"META-INF/", ""}, {"META-INF/MANIFEST.MF", manifest, 8}}});
}

TEST_F(ModesWithStandinKit, TheJarRunStartsJavaDashJarInTheJarsFolder) {
  fs::path place = Place("my jars");
  WriteJar(place / "App.jar", "Manifest-Version: 1.0\r\nMain-Class: demo.Main\r\n\r\n");

  EXPECT_EQ(Run(place / "App.jar", {"a", "b"}), kMsgProgramDone);

  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "java.exe -jar \"App.jar\" a b ");
  EXPECT_TRUE(fs::equivalent(records[0].directory, place)) << records[0].directory;
}

TEST_F(ModesWithStandinKit, ALibraryJarStartsNoJava) {
  WriteJar(Place(".") / "Lib.jar", "Manifest-Version: 1.0\r\nCreated-By: 17\r\n\r\n");
  EXPECT_EQ(Run(temp_.path() / "Lib.jar"), kMsgJarWithoutMainClass);
  EXPECT_TRUE(Records().empty());
}

TEST_F(ModesWithStandinKit, TheCompileQuotesTheSourceAndClimbsInTheClassPath) {
  fs::path place = Place("a/b");
  // The dots of a comment inside the name are no levels.
  std::ofstream(place / "Hello.java", std::ios::binary) << "package a /* x.y */ .b;\r\nclass Hello {}\r\n";

  EXPECT_EQ(Run(place / "Hello.java"), kMsgCompiled);

  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "javac.exe -classpath " + KitClassPath("..\\..\\") + " \"Hello.java\"");
  EXPECT_TRUE(fs::equivalent(records[0].directory, place)) << records[0].directory;
}

TEST_F(ModesWithStandinKit, ACompileErrorRunsNothing) {
  ScopedEnvironment status(kStandinStatusVariable, "2");
  fs::path place = Place(".");
  std::ofstream(place / "Hello.java", std::ios::binary) << "class Hello {}\n";
  WriteSyntheticClassFile(place / "Hello.class", "Hello");
  EXPECT_EQ(Run(place / "Hello.java", {"/ExecuteAfterCompile"}), kMsgCompileFailed);
  EXPECT_EQ(Records().size(), 1u);
}

// The stand-in compiler writes nothing here: the class file it would write
// is put beside the source beforehand.
TEST_F(ModesWithStandinKit, TheRunSwitchRunsTheCompiledClassWithTheArgumentsAfterIt) {
  fs::path place = Place("a/b");
  std::ofstream(place / "Hello.java", std::ios::binary) << "package a.b;\nclass Hello {}\n";
  WriteSyntheticClassFile(place / "Hello.class", "a/b/Hello");

  EXPECT_EQ(Run(place / "Hello.java", {"/ExecuteAfterCompile", "x"}), kMsgProgramDone);

  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].command_line, "javac.exe -classpath " + KitClassPath("..\\..\\") + " \"Hello.java\"");
  EXPECT_EQ(records[1].command_line,
            "java.exe -classpath " + KitClassPath(".") + " a.b.Hello x ");
  EXPECT_TRUE(fs::equivalent(records[1].directory, temp_.path())) << records[1].directory;
}

TEST_F(ModesWithStandinKit, ACompiledClassOutsideItsPackageFolderStopsAfterTheCompile) {
  fs::path desktop = Place("Desktop");
  std::ofstream(desktop / "Hello.java", std::ios::binary) << "package demo;\nclass Hello {}\n";
  WriteSyntheticClassFile(desktop / "Hello.class", "demo/Hello");

  EXPECT_EQ(Run(desktop / "Hello.java", {"/ExecuteAfterCompile"}), kMsgClassOutsidePackage);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line.rfind("javac.exe ", 0), 0u) << records[0].command_line;
  EXPECT_NE(console_.out.find("Compilazione Java terminata correttamente."), std::string::npos);
}

}  // namespace
}  // namespace nerbo
