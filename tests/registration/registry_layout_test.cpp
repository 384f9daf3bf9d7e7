#include "registration/registry_layout.h"
#include "runtime/portable/command_line.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <functional>

namespace nerbo {
namespace {

// The tool installed from C:\jdk\bin as C:\jdk\bin\Nerbo.exe.
constexpr char kExampleTool[] = "C:\\jdk\\bin\\Nerbo.exe";
constexpr char kExampleDirectory[] = "C:\\jdk\\bin";

struct TextCase {
  const char* entry;
  std::function<std::string()> build;
  const char* text;
};

class WorkedExample : public testing::TestWithParam<TextCase> {};

TEST_P(WorkedExample, BuildsTheTextExactly) { EXPECT_EQ(GetParam().build(), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Texts, WorkedExample,
    testing::Values(
        TextCase{"UninstallString", [] { return UninstallCommand(kExampleTool); },
                 "C:\\jdk\\bin\\Nerbo.exe /u"},
        TextCase{"Run", [] { return JavaToolPath(kExampleDirectory, kWindowsConventions); },
                 "C:\\jdk\\bin\\java.exe"},
        TextCase{"Compile", [] { return CompilerToolPath(kExampleDirectory, kWindowsConventions); },
                 "C:\\jdk\\bin\\javac.exe"},
        TextCase{"ClassIcon", [] { return ClassIconText(kExampleTool); }, "C:\\jdk\\bin\\Nerbo.exe,0"},
        TextCase{"RunCommand", [] { return RunCommand(kExampleTool); },
                 "C:\\jdk\\bin\\Nerbo.exe \"%1\" \"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\""},
        TextCase{"RunWithArgsCommand", [] { return RunWithArgsCommand(kExampleTool); },
                 "C:\\jdk\\bin\\Nerbo.exe \"%1\" /ArgsToNerbo"},
        TextCase{"SourceIcon", [] { return SourceIconText(kExampleTool); }, "C:\\jdk\\bin\\Nerbo.exe,1"},
        TextCase{"CompileRunCommand", [] { return CompileRunCommand(kExampleTool); },
                 "C:\\jdk\\bin\\Nerbo.exe \"%1\" /ExecuteAfterCompile"},
        TextCase{"CompileCommand", [] { return CompileCommand(kExampleTool); },
                 "C:\\jdk\\bin\\Nerbo.exe \"%1\""},
        TextCase{"EditCommand", [] { return std::string(kEditCommandText.text); }, "notepad %1"},
        // A directory that already ends in a separator gets none added.
        TextCase{"RunAtDriveRoot", [] { return JavaToolPath("C:\\", kWindowsConventions); }, "C:\\java.exe"},
        TextCase{"RunAfterSlash", [] { return JavaToolPath("C:/jdk/", kWindowsConventions); },
                 "C:/jdk/java.exe"},
        // Linux kit tools have no extension, and no dot is added for one.
        TextCase{"PosixRun", [] { return JavaToolPath("/opt/jdk/bin", kPosixConventions); },
                 "/opt/jdk/bin/java"},
        TextCase{"PosixCompile", [] { return CompilerToolPath("/opt/jdk/bin", kPosixConventions); },
                 "/opt/jdk/bin/javac"},
        // A tool path with a blank or a tab is quoted at the head of a command,
        // so that the tool's own splitter reads it whole; icon texts stay bare.
        TextCase{"BlankQuotedInCommand", [] { return CompileCommand("C:\\Program Files\\Nerbo.exe"); },
                 "\"C:\\Program Files\\Nerbo.exe\" \"%1\""},
        TextCase{"BlankBareInIcon", [] { return SourceIconText("C:\\Program Files\\Nerbo.exe"); },
                 "C:\\Program Files\\Nerbo.exe,1"}),
    [](const testing::TestParamInfo<TextCase>& param_info) { return std::string(param_info.param.entry); });

// Windows hands a registered command to the tool as written, with the
// clicked path for %1 and nothing for %2 to %9, as a double click fills them.
// The tool's own splitter must find the clicked path whole, wherever the tool
// was installed.
TEST(RegisteredCommand, SplitsBackIntoTheClickedPath) {
  const std::string clicked = "C:\\My Work\\src\\org\\demo\\Hello.class";
  auto as_started = [&](std::string command) {
    for (std::size_t at = command.find('%'); at != std::string::npos; at = command.find('%', at)) {
      std::string parameter = command[at + 1] == '1' ? clicked : "";
      command.replace(at, 2, parameter);
      at += parameter.size();
    }
    return SplitArguments(SkipProgramName(command.c_str()));
  };
  using Arguments = std::vector<std::string>;
  for (const char* tool :
       {kExampleTool, "C:\\Program Files\\My JDK\\bin\\Nerbo.exe", "C:\\a\tb\\Nerbo.exe"}) {
    SCOPED_TRACE(tool);
    Arguments run(9, "");
    run[0] = clicked;
    EXPECT_EQ(as_started(RunCommand(tool)), run);
    EXPECT_EQ(as_started(RunWithArgsCommand(tool)), (Arguments{clicked, "/ArgsToNerbo"}));
    EXPECT_EQ(as_started(CompileRunCommand(tool)), (Arguments{clicked, "/ExecuteAfterCompile"}));
    EXPECT_EQ(as_started(CompileCommand(tool)), Arguments{clicked});
    EXPECT_EQ(as_started(UninstallCommand(tool)), Arguments{"/u"});
  }
}

struct LiteralCase {
  LayoutText literal;
  const char* text;
  std::uint32_t size;
};

class LayoutLiteral : public testing::TestWithParam<LiteralCase> {};

// Each literal is written with its length plus one, as the layout's table fixes.
TEST_P(LayoutLiteral, HasItsTextAndByteCount) {
  EXPECT_STREQ(GetParam().literal.text, GetParam().text);
  EXPECT_EQ(GetParam().literal.size, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Table, LayoutLiteral,
                         testing::Values(LiteralCase{kDisplayNameText, "Nerbo by Brandovelkian", 23},
                                         LiteralCase{kSettingsText, "Nerbo.exe", 10},
                                         LiteralCase{kClassTypeText, "ClassFile.Nerbo", 16},
                                         LiteralCase{kClassDescriptionText, "Classi Java", 12},
                                         LiteralCase{kClassDefaultVerbText, "Run", 4},
                                         LiteralCase{kSourceTypeText, "JavaFile.Nerbo", 15},
                                         LiteralCase{kSourceDescriptionText, "Java File", 10},
                                         LiteralCase{kSourceDefaultVerbText, "Compile+Run", 12},
                                         LiteralCase{kEditCommandText, "notepad %1", 11}));

class LayoutValues : public testing::Test {
 protected:
  LayoutValues() : registry_(MakeMemoryRegistry()) { settings_ = CreatedSettingsKey(*registry_); }

  std::unique_ptr<Registry> registry_;
  RegKey settings_ = 0;
};

TEST_F(LayoutValues, ToolPathsAreStoredWithoutTerminatorAndReadBackExactly) {
  ASSERT_EQ(WriteToolPath(*registry_, settings_, kRunValue, "C:\\jdk\\bin\\java.exe"), kRegSuccess);
  char bytes[64];
  std::uint32_t size = sizeof bytes;
  ASSERT_EQ(registry_->QueryValue(settings_, kRunValue, nullptr, bytes, &size), kRegSuccess);
  EXPECT_EQ(size, 19u);
  EXPECT_EQ(ReadToolPath(*registry_, settings_, kRunValue), "C:\\jdk\\bin\\java.exe");
}

TEST_F(LayoutValues, AToolPathStoredWithItsTerminatorReadsTheSame) {
  registry_->SetValue(settings_, kCompileValue, kRegSz, "C:\\javac.exe", 13);
  EXPECT_EQ(ReadToolPath(*registry_, settings_, kCompileValue), "C:\\javac.exe");
}

TEST_F(LayoutValues, AValueLargerThanTheReadLimitCountsAsUnreadable) {
  std::string large(kReadLimit + 1, 'x');
  registry_->SetValue(settings_, kRunValue, kRegSz, large.data(), static_cast<std::uint32_t>(large.size()));
  EXPECT_FALSE(ReadToolPath(*registry_, settings_, kRunValue));
  EXPECT_FALSE(ReadValue(*registry_, settings_, kRunValue));
}

}  // namespace
}  // namespace nerbo
