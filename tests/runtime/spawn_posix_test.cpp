#include <sys/stat.h>

#include <fstream>

#include <gtest/gtest.h>

#include "runtime/error_number.h"
#include "runtime/spawn.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

struct ProgramCase {
  const char* name;
  const char* content;
  mode_t mode;
  bool started;
  int status_or_error;  // exit status when started, else the error number
};

class SpawnPosixProgram : public testing::TestWithParam<ProgramCase> {};

TEST_P(SpawnPosixProgram, StartsWhatTheSystemCanRun) {
  const ProgramCase& c = GetParam();
  ScopedTempDir temp;
  std::filesystem::path program = temp.path() / "program";
  std::ofstream(program, std::ios::binary) << c.content;
  chmod(program.c_str(), c.mode);
  SetErrorNumber(0);
  SpawnResult result = SpawnProgram(program.string(), {"program"});
  EXPECT_EQ(result.started, c.started);
  if (c.started) {
    EXPECT_EQ(result.exit_status, static_cast<std::uint32_t>(c.status_or_error));
  } else {
    EXPECT_EQ(ErrorNumber(), c.status_or_error);
  }
}

std::string CaseName(const testing::TestParamInfo<ProgramCase>& test) { return test.param.name; }

INSTANTIATE_TEST_SUITE_P(Cases, SpawnPosixProgram,
                         testing::Values(
                             // No command interpreter in between: the kernel runs the script.
                             ProgramCase{"ScriptWithInterpreterLine", "#!/bin/sh\nexit 5\n", 0755, true, 5},
                             ProgramCase{"NotExecutable", "#!/bin/sh\nexit 5\n", 0644, false, kErrAccess},
                             ProgramCase{"NoKnownFormat", "just text\n", 0755, false, kErrExecFormat}),
                         CaseName);

}  // namespace
}  // namespace nerbo
