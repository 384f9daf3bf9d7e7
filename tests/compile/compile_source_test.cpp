#include "compile/compile_source.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/message_code.h"
#include "registration/registry_layout.h"
#include "support/mode_harness.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"
#include "support/synthetic_class_file.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

constexpr char kJavac[] = "C:\\jdk\\bin\\javac.exe";
constexpr char kJava[] = "C:\\jdk\\bin\\java.exe";

class CompileSourceTest : public testing::Test {
 protected:
  CompileSourceTest() {
    harness_.SetToolPath(kCompileValue, kJavac);
    harness_.SetToolPath(kRunValue, kJava);
  }

  // Writes the source `directory`/`file_name` below the temp directory with
  // `package_line` first and makes its directory current, as the launcher does.
  void PlaceSource(const std::string& directory, const std::string& file_name,
                   const std::string& package_line) {
    fs::path place = temp_.path() / directory;
    fs::create_directories(place);
    std::ofstream(place / file_name, std::ios::binary) << package_line << "\r\npublic class X {}\r\n";
    fs::current_path(place);
  }

  // Makes the fake compiler write the class file `class_file` into the
  // directory it runs in, as javac does for a source given without -d.
  void CompilerWrites(const std::string& class_file, const std::string& internal_name) {
    harness_.during_spawn = [this, class_file, internal_name] {
      if (harness_.calls.size() == 1) WriteSyntheticClassFile(class_file, internal_name);
    };
  }

  ScopedEnvironment no_user_class_path_{"CLASSPATH"};
  ScopedTempDir temp_;
  ScopedCurrentDirectory in_temp_{temp_.path()};
  ModeHarness harness_{kWindowsConventions};
};

TEST_F(CompileSourceTest, CompilesWithTheClassPathUpToThePackageRoot) {
  PlaceSource("a/b", "Hello.java", "package a.b;");
  harness_.SetTarget("Hello.java");

  EXPECT_EQ(harness_.Run(CompileSource), kMsgCompiled);

  const char* class_path = "..\\..\\;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip";
  EXPECT_EQ(harness_.console.transcript,
            std::string("Sto compilando il file \"Hello.java\". Attendere.\n\n") +
                "classpath: " + class_path + "\n\n\nCompilazione Java terminata correttamente.\n\n");
  ASSERT_EQ(harness_.calls.size(), 1u);
  const SpawnCall& call = harness_.calls[0];
  EXPECT_EQ(call.program, kJavac);
  EXPECT_EQ(call.arguments,
            (std::vector<std::string>{"javac.exe", "-classpath", class_path, "\"Hello.java\""}));
  EXPECT_TRUE(fs::equivalent(call.directory, temp_.path() / "a" / "b")) << call.directory;
  EXPECT_FALSE(harness_.context().run_after_compile);
}

TEST_F(CompileSourceTest, ASourceNameWithBlanksIsOneQuotedArgument) {
  PlaceSource(".", "My Hello.java", "");
  harness_.SetTarget("My Hello.java");
  harness_.Run(CompileSource);
  ASSERT_EQ(harness_.calls.size(), 1u);
  EXPECT_EQ(harness_.calls[0].arguments[2], ".;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip");
  EXPECT_EQ(harness_.calls[0].arguments[3], "\"My Hello.java\"");
}

TEST_F(CompileSourceTest, AKitPathWithBlanksReachesJavacAsOneClassPathArgument) {
  harness_.SetToolPath(kCompileValue, "C:\\Program Files\\jdk\\bin\\javac.exe");
  PlaceSource(".", "Hello.java", "");
  harness_.SetTarget("Hello.java");
  harness_.Run(CompileSource);
  ASSERT_EQ(harness_.calls.size(), 1u);
  EXPECT_EQ(harness_.calls[0].arguments[2],
            "\".;%CLASSPATH%;C:\\Program Files\\jdk\\classes;C:\\Program Files\\jdk\\lib\\classes.zip\"");
  EXPECT_NE(harness_.console.out.find("classpath: .;%CLASSPATH%;C:\\Program Files\\jdk\\classes;C:\\Program "
                                      "Files\\jdk\\lib\\classes.zip\n"),
            std::string::npos);
}

struct EndCase {
  const char* reason;
  SpawnResult result;
  std::vector<std::string> further_arguments;
  int code;
};

class CompileSourceEnd : public CompileSourceTest, public testing::WithParamInterface<EndCase> {};

// Whatever the switch, a compile that does not succeed runs nothing.
TEST_P(CompileSourceEnd, TheCompilersEndSelectsTheMessageCode) {
  const EndCase& c = GetParam();
  PlaceSource(".", "Hello.java", "");
  harness_.SetTarget("Hello.java", c.further_arguments);
  harness_.results.push_back(c.result);
  EXPECT_EQ(harness_.Run(CompileSource), c.code);
  EXPECT_EQ(harness_.calls.size(), 1u);
  EXPECT_FALSE(harness_.context().run_after_compile);
}

const EndCase kEndCases[] = {
    {"Compiled", ExitedWith(0), {}, kMsgCompiled},
    {"SwitchInOtherLetterCaseCompilesOnly", ExitedWith(0), {"/executeaftercompile"}, kMsgCompiled},
    {"SwitchOnlyCountsAsSecondArgument", ExitedWith(0), {"a", "/ExecuteAfterCompile"}, kMsgCompiled},
    {"CompileErrors", ExitedWith(1), {"/ExecuteAfterCompile"}, kMsgCompileFailed},
    {"StatusMinusOneIsAnEndNotAFailedStart", ExitedWith(0xFFFFFFFFu), {}, kMsgCompileFailed},
    {"NotStarted", NotStarted(), {"/ExecuteAfterCompile"}, kMsgSpawnFailed},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompileSourceEnd, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& param_info) {
                           return param_info.param.reason;
                         });

TEST_F(CompileSourceTest, WithoutACompileValueNothingStarts) {
  ModeHarness uninstalled(kWindowsConventions);
  PlaceSource(".", "Hello.java", "");
  uninstalled.SetTarget("Hello.java");
  EXPECT_EQ(uninstalled.Run(CompileSource), kMsgSpawnFailed);
  EXPECT_TRUE(uninstalled.calls.empty());
}

TEST_F(CompileSourceTest, TheRunSwitchHandsTheCompiledClassToTheClassRun) {
  PlaceSource("org/nerbo/demo", "Hello.java", "package org.nerbo.demo;");
  CompilerWrites("Hello.class", "org/nerbo/demo/Hello");
  harness_.SetTarget("Hello.java", {"/ExecuteAfterCompile", "a", "/ArgsToNerbo"});

  EXPECT_EQ(harness_.Run(CompileSource), kMsgProgramDone);

  EXPECT_TRUE(harness_.context().run_after_compile);
  ASSERT_EQ(harness_.calls.size(), 2u);
  const SpawnCall& run = harness_.calls[1];
  EXPECT_EQ(run.program, kJava);
  EXPECT_EQ(run.arguments,
            (std::vector<std::string>{"java.exe", "-classpath",
                                      ".;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip",
                                      "org.nerbo.demo.Hello", "a /ArgsToNerbo "}));
  EXPECT_TRUE(fs::equivalent(run.directory, temp_.path())) << run.directory;
  const std::string& out = harness_.console.transcript;
  const std::string compiled_message = "\nCompilazione Java terminata correttamente.\n\n";
  std::size_t compiled = out.find(compiled_message);
  ASSERT_NE(compiled, std::string::npos);
  EXPECT_EQ(out.substr(compiled + compiled_message.size()),
            "Sto avviando il programma (className: \"org.nerbo.demo.Hello\").\nAttendere.\n\n"
            "\nProgramma Java terminato correttamente.\n\n");
}

TEST_F(CompileSourceTest, TheUsersClassPathIsExpandedWhenSet) {
  ScopedEnvironment user_class_path("CLASSPATH", "C:\\lib\\extra.jar");
  PlaceSource("app", "Hello.java", "package app;");
  harness_.SetTarget("Hello.java");
  harness_.Run(CompileSource);
  ASSERT_EQ(harness_.calls.size(), 1u);
  EXPECT_EQ(harness_.calls[0].arguments[2],
            "..\\;C:\\lib\\extra.jar;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip");
}

}  // namespace
}  // namespace nerbo
