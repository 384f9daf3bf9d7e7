#include <fstream>

#include <gtest/gtest.h>

#include "runtime/error_number.h"
#include "runtime/spawn.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

class SpawnScript : public testing::Test {
 protected:
  void SetUp() override { std::ofstream(temp_.path() / "build.cmd", std::ios::binary) << "@exit 7\r\n"; }

  ScopedTempDir temp_;
  ScopedCurrentDirectory in_{temp_.path()};
};

// The interpreter is handed argument 0, here the script's bare name, which
// it finds in the current directory.
TEST_F(SpawnScript, BareNameFindsTheScriptAndRunsItThroughTheCommandInterpreter) {
  SpawnResult result = SpawnProgram("build", {"build.cmd"});
  ASSERT_TRUE(result.started);
  EXPECT_EQ(result.exit_status, 7u);
}

TEST_F(SpawnScript, NoCommandInterpreterStartsNothing) {
  ScopedEnvironment no_interpreter("COMSPEC");
  SetErrorNumber(0);
  EXPECT_FALSE(SpawnProgram("build", {"build.cmd"}).started);
  EXPECT_EQ(ErrorNumber(), kErrNoEntry);
}

}  // namespace
}  // namespace nerbo
