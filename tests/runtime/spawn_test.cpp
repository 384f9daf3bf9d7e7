#include "runtime/spawn.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "runtime/error_number.h"
#include "runtime/portable/command_line.h"
#include "runtime/spawn_child.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

// The test program is its own child: started with NERBO_SPAWN_REPORT set, it
// writes its working directory and the arguments it received into that file
// and ends with the status in NERBO_SPAWN_EXIT, before any test runs.
constexpr char kReportVariable[] = "NERBO_SPAWN_REPORT";
constexpr char kExitVariable[] = "NERBO_SPAWN_EXIT";

const bool kRunsAsChild = [] {
  const char* report = std::getenv(kReportVariable);
  if (report == nullptr) return false;
  {
    std::ofstream out(report, std::ios::binary);
    out << std::filesystem::current_path().string() << '\n';
    for (const std::string& argument : ReceivedArguments()) out << argument << '\n';
  }
  const char* exit_how = std::getenv(kExitVariable);
  EndChild(exit_how != nullptr ? exit_how : "0");
}();

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& test) {
  return test.param.name;
}

struct ChildReport {
  std::string directory;
  std::vector<std::string> arguments;
};

class SpawnTest : public testing::Test {
 protected:
  SpawnTest() : report_path_(temp_.path() / "report.txt"), report_(kReportVariable, report_path_.string()) {}

  SpawnResult Spawn(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& exit_how = "0") {
    ScopedEnvironment exit_status(kExitVariable, exit_how);
    std::filesystem::remove(report_path_);
    return SpawnProgram(program, arguments);
  }

  bool ReadReport(ChildReport* report) {
    std::ifstream in(report_path_, std::ios::binary);
    if (!std::getline(in, report->directory)) return false;
    for (std::string line; std::getline(in, line);) report->arguments.push_back(line);
    return true;
  }

  ScopedTempDir temp_;
  std::filesystem::path report_path_;
  ScopedEnvironment report_;
};

// What the child should see: the raw line itself on Windows; on Linux the
// arguments as given.
std::vector<std::string> Seen(const char* raw_line, std::vector<std::string> arguments) {
  if (kChildReportsRawLine) return {raw_line};
  return arguments;
}

struct ArgumentsCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* raw_line;
};

class SpawnArguments : public SpawnTest, public testing::WithParamInterface<ArgumentsCase> {};

TEST_P(SpawnArguments, ChildReceivesTheJoinedLine) {
  const ArgumentsCase& c = GetParam();
  SpawnResult result = Spawn(OwnProgramPath(), c.arguments);
  ASSERT_TRUE(result.started);
  EXPECT_EQ(result.exit_status, 0u);
  ChildReport report;
  ASSERT_TRUE(ReadReport(&report));
  EXPECT_EQ(report.arguments, Seen(c.raw_line, c.arguments));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpawnArguments,
    testing::Values(
        // Argument 0 is the name given, not the path started.
        ArgumentsCase{"ArgumentZeroAsGiven", {"javac.exe", "-classpath", "x"}, "javac.exe -classpath x"},
        ArgumentsCase{"EmptyArgumentInTheMiddle", {"child", "a", "", "b"}, "child a  b"},
        ArgumentsCase{"EmptyLastArgument", {"child", "a", ""}, "child a "},
        ArgumentsCase{
            "QuotesAndBlanksAsGiven", {"child", "\"x y\"", "Say\"Hi", "a\\b"}, "child \"x y\" Say\"Hi a\\b"}),
    CaseName<ArgumentsCase>);

struct StatusCase {
  const char* name;
  const char* exit_how;
  std::uint32_t status;  // on Linux a status is one byte: -1 arrives as 255
  std::uint32_t linux_status;
};

class SpawnStatus : public SpawnTest, public testing::WithParamInterface<StatusCase> {};

TEST_P(SpawnStatus, ChildStatusIsReportedApartFromTheStart) {
  const StatusCase& c = GetParam();
  if (std::string(c.exit_how) == "signal" && !kChildCanBeKilled) GTEST_SKIP() << "no signals here";
  SetErrorNumber(kErrAgain);
  SpawnResult result = Spawn(OwnProgramPath(), {"child"}, c.exit_how);
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exit_status, kChildReportsRawLine ? c.status : c.linux_status);
  EXPECT_EQ(ErrorNumber(), kErrAgain);  // a launch that works leaves the error number alone
}

INSTANTIATE_TEST_SUITE_P(Cases, SpawnStatus,
                         testing::Values(StatusCase{"Zero", "0", 0, 0}, StatusCase{"Three", "3", 3, 3},
                                         StatusCase{"MinusOne", "4294967295", 0xFFFFFFFFu, 255},
                                         StatusCase{"KilledBySignal", "signal", 0, 128 + 15}),
                         CaseName<StatusCase>);

TEST_F(SpawnTest, ChildStartsInTheCurrentDirectory) {
  std::filesystem::path work = temp_.path() / "work";
  std::filesystem::create_directory(work);
  ScopedCurrentDirectory in(work);
  ASSERT_TRUE(Spawn(OwnProgramPath(), {"child"}).started);
  ChildReport report;
  ASSERT_TRUE(ReadReport(&report));
  EXPECT_TRUE(std::filesystem::equivalent(report.directory, work)) << report.directory;
}

TEST_F(SpawnTest, BareNameIsFoundAlongPath) {
  std::filesystem::path bin = temp_.path() / "bin";
  std::filesystem::create_directory(bin);
  std::filesystem::copy_file(OwnProgramPath(),
                             bin / (std::string("nerbo-spawn-child") + (kChildReportsRawLine ? ".exe" : "")));
  ScopedEnvironment path(
      "PATH", (temp_.path() / "nowhere").string() + (kChildReportsRawLine ? ";" : ":") + bin.string());
  SpawnResult result = Spawn("nerbo-spawn-child", {"nerbo-spawn-child", "x"}, "3");
  ASSERT_TRUE(result.started);
  EXPECT_EQ(result.exit_status, 3u);
  ChildReport report;
  ASSERT_TRUE(ReadReport(&report));
  EXPECT_EQ(report.arguments, Seen("nerbo-spawn-child x", {"nerbo-spawn-child", "x"}));
}

struct FailureCase {
  const char* name;
  const char* program;  // below the temporary directory, or bare
  int error_number;
};

class SpawnFailure : public SpawnTest, public testing::WithParamInterface<FailureCase> {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(temp_.path() / "kit1.1" / "bin");
    temp_.Touch("kit1.1/bin/javac.exe");
    std::filesystem::create_directory(temp_.path() / "tools.d");
  }
};

TEST_P(SpawnFailure, StartsNothingAndSetsTheErrorNumber) {
  const FailureCase& c = GetParam();
  std::string program = c.program;
  if (program.find('/') != std::string::npos) program = (temp_.path() / program).make_preferred().string();
  SetErrorNumber(0);
  SpawnResult result = Spawn(program, {"child"});
  EXPECT_FALSE(result.started);
  EXPECT_EQ(ErrorNumber(), c.error_number);
  EXPECT_FALSE(std::filesystem::exists(report_path_));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpawnFailure,
    testing::Values(FailureCase{"MissingProgram", "kit1.1/bin/java.exe", kErrNoEntry},
                    FailureCase{"MissingBareName", "nerbo-no-such-program", kErrNoEntry},
                    // javac.exe is there, but a dot in the path stops ".EXE" being tried.
                    FailureCase{"NoExtensionAfterADottedDirectory", "kit1.1/bin/javac", kErrNoEntry},
                    // A directory passes the existence test; the start refuses it.
                    FailureCase{"Directory", "./tools.d", kErrExecFormat}),
    CaseName<FailureCase>);

}  // namespace
}  // namespace nerbo
