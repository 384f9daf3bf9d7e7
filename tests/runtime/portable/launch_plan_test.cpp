#include "runtime/portable/launch_plan.h"

#include <map>
#include <set>

#include <gtest/gtest.h>

#include "runtime/error_number.h"

namespace nerbo {
namespace {

// Files that exist, the environment, and every path the resolution asked
// about, in order. Full paths are made by prefixing "<full>".
struct FakeSystem {
  std::set<std::string> files;
  std::map<std::string, std::string> environment;
  std::vector<std::string> probes;

  LaunchPlatform Platform() {
    return {[this](const std::string& path) {
              probes.push_back(path);
              return files.count(path) != 0;
            },
            [this](const char* name, std::string* value) {
              auto it = environment.find(name);
              if (it == environment.end()) return false;
              *value = it->second;
              return true;
            },
            [](const std::string& path) { return "<full>" + path; }};
  }
};

const std::vector<std::string> kJavacArguments = {"javac.exe", "-classpath", "..\\;%CLASSPATH%",
                                                  "\"Hello.java\""};

class LaunchPlanTest : public testing::Test {
 protected:
  void SetUp() override { SetErrorNumber(0); }

  bool Plan(const std::string& program, const LaunchRules& rules = kWindowsLaunchRules,
            const std::vector<std::string>& arguments = kJavacArguments) {
    plan_ = LaunchPlan{};
    return PlanLaunch(program, arguments, rules, system_.Platform(), &plan_);
  }

  FakeSystem system_;
  LaunchPlan plan_;
};

TEST_F(LaunchPlanTest, FullPathIsStartedAsItStandsWithArgumentZeroFirstOnTheLine) {
  system_.files = {"C:\\kit\\bin\\javac.exe"};
  system_.environment["PATH"] = "C:\\elsewhere";
  ASSERT_TRUE(Plan("C:\\kit\\bin\\javac.exe"));
  EXPECT_EQ(plan_.application, "C:\\kit\\bin\\javac.exe");
  EXPECT_EQ(plan_.command_line, "javac.exe -classpath ..\\;%CLASSPATH% \"Hello.java\"");
  EXPECT_EQ(system_.probes, (std::vector<std::string>{"C:\\kit\\bin\\javac.exe"}));
}

TEST_F(LaunchPlanTest, DotInADirectoryStopsTheExtensions) {
  system_.files = {"C:\\jdk1.1\\bin\\javac.EXE"};
  EXPECT_FALSE(Plan("C:\\jdk1.1\\bin\\javac"));
  EXPECT_EQ(ErrorNumber(), kErrNoEntry);
  EXPECT_EQ(system_.probes, (std::vector<std::string>{"C:\\jdk1.1\\bin\\javac"}));
}

TEST_F(LaunchPlanTest, PinnedNameWithoutDotTriesTheThreeExtensionsInCapitals) {
  EXPECT_FALSE(Plan("C:javac"));  // a drive switches the search off
  EXPECT_EQ(system_.probes, (std::vector<std::string>{"C:javac.EXE", "C:javac.BAT", "C:javac.CMD"}));
  EXPECT_EQ(ErrorNumber(), kErrNoEntry);
}

// Each extension is looked for everywhere before the next one is tried;
// empty elements try the bare name again; '/' and '\' both end a directory.
TEST_F(LaunchPlanTest, BareNameSearchesCurrentDirectoryThenPathForEachExtension) {
  system_.environment["PATH"] = "C:\\a\\;;C:/b";
  EXPECT_FALSE(Plan("tool"));
  EXPECT_EQ(system_.probes,
            (std::vector<std::string>{"tool.EXE", "C:\\a\\tool.EXE", "tool.EXE", "C:/b\\tool.EXE", "tool.BAT",
                                      "C:\\a\\tool.BAT", "tool.BAT", "C:/b\\tool.BAT", "tool.CMD",
                                      "C:\\a\\tool.CMD", "tool.CMD", "C:/b\\tool.CMD"}));
}

TEST_F(LaunchPlanTest, ProgramAlongPathBeatsAScriptInTheCurrentDirectoryAndIsMadeFull) {
  system_.environment["PATH"] = "C:\\p1;C:\\p2";
  system_.files = {"tool.BAT", "C:\\p2\\tool.EXE"};
  ASSERT_TRUE(Plan("tool"));
  EXPECT_EQ(plan_.application, "<full>C:\\p2\\tool.EXE");
}

TEST_F(LaunchPlanTest, WithoutPathOnlyTheCurrentDirectoryIsTried) {
  system_.files = {"tool.EXE"};
  ASSERT_TRUE(Plan("tool"));
  EXPECT_EQ(plan_.application, "<full>tool.EXE");
  EXPECT_EQ(system_.probes, (std::vector<std::string>{"tool.EXE"}));
}

TEST_F(LaunchPlanTest, RelativePinnedPathStaysRelative) {
  system_.files = {".\\tool.exe"};
  ASSERT_TRUE(Plan(".\\tool.exe"));
  EXPECT_EQ(plan_.application, ".\\tool.exe");
}

TEST_F(LaunchPlanTest, ScriptRunsThroughTheCommandInterpreterWithArgumentZeroAsGiven) {
  system_.environment["COMSPEC"] = "C:\\WINDOWS\\cmd.exe";
  system_.files = {"build.CMD"};
  ASSERT_TRUE(Plan("build", kWindowsLaunchRules, {"build", "all", ""}));
  EXPECT_EQ(plan_.application, "C:\\WINDOWS\\cmd.exe");
  EXPECT_EQ(plan_.command_line, "C:\\WINDOWS\\cmd.exe /c build all ");
}

TEST_F(LaunchPlanTest, ScriptExtensionIgnoresLetterCase) {
  system_.environment["COMSPEC"] = "cmd.exe";
  system_.files = {"C:\\x\\Make.Bat"};
  ASSERT_TRUE(Plan("C:\\x\\Make.Bat", kWindowsLaunchRules, {"make"}));
  EXPECT_EQ(plan_.command_line, "cmd.exe /c make");
}

TEST_F(LaunchPlanTest, ScriptWithoutCommandInterpreterFails) {
  system_.files = {"C:\\x\\make.bat"};
  EXPECT_FALSE(Plan("C:\\x\\make.bat"));
  EXPECT_EQ(ErrorNumber(), kErrNoEntry);
}

TEST_F(LaunchPlanTest, SuccessKeepsAnEarlierErrorNumber) {
  SetErrorNumber(kErrAgain);
  system_.files = {"C:\\kit\\bin\\javac.exe"};
  ASSERT_TRUE(Plan("C:\\kit\\bin\\javac.exe"));
  EXPECT_EQ(ErrorNumber(), kErrAgain);  // success never resets it
}

TEST_F(LaunchPlanTest, EmptyArgumentsKeepTheirBlanks) {
  system_.files = {"C:\\kit\\bin\\java.exe"};
  ASSERT_TRUE(Plan("C:\\kit\\bin\\java.exe", kWindowsLaunchRules, {"java.exe", "a", "", "b", ""}));
  EXPECT_EQ(plan_.command_line, "java.exe a  b ");
}

// The resolved-path buffer of the Windows tool holds 259 characters.
TEST_F(LaunchPlanTest, CandidateLongerThanTheResolvedPathIsRefused) {
  std::string fits = "C:\\" + std::string(kResolvedPathLimit - 3 - 4, 'n');  // + ".EXE": 259
  std::string too_long = fits + "n";
  system_.files = {fits + ".EXE", too_long + ".EXE"};
  EXPECT_TRUE(Plan(fits));
  EXPECT_FALSE(Plan(too_long));
  EXPECT_EQ(ErrorNumber(), kErrNoEntry);
}

TEST_F(LaunchPlanTest, FullPathTooLongForTheBufferKeepsThePathAsFound) {
  std::string name = std::string(kResolvedPathLimit - 4 - 5, 'n');  // "<full>" would pass 259
  system_.files = {name + ".EXE"};
  ASSERT_TRUE(Plan(name));
  EXPECT_EQ(plan_.application, name + ".EXE");
}

TEST_F(LaunchPlanTest, PosixRulesAppendNothingAndStartScriptsDirectly) {
  system_.environment["PATH"] = "/usr/local/bin:/usr/bin/";
  system_.files = {"/usr/bin/javac"};
  ASSERT_TRUE(Plan("javac", kPosixLaunchRules, {"javac"}));
  EXPECT_EQ(plan_.application, "<full>/usr/bin/javac");
  EXPECT_EQ(system_.probes, (std::vector<std::string>{"javac", "/usr/local/bin/javac", "/usr/bin/javac"}));

  system_.environment["COMSPEC"] = "cmd.exe";
  system_.files = {"/x/make.bat"};
  ASSERT_TRUE(Plan("/x/make.bat", kPosixLaunchRules, {"make"}));
  EXPECT_EQ(plan_.application, "/x/make.bat");
  EXPECT_EQ(plan_.command_line, "make");
}

}  // namespace
}  // namespace nerbo
