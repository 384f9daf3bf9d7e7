#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "runtime/spawn.h"
#include "standin/standin_log.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

class KitStandin : public testing::Test {
 protected:
  // Made absolute before any test changes directory: under Wine the build
  // path is a path of the current drive.
  KitStandin()
      : bin_(std::filesystem::absolute(NERBO_STANDIN_KIT_BIN)),
        log_(temp_.path() / "kit.log"),
        log_variable_(kStandinLogVariable, log_.string()) {}

  std::vector<StandinRecord> Records() {
    std::ifstream in(log_, std::ios::binary);
    return ParseStandinLog(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }

  ScopedTempDir temp_;
  std::filesystem::path bin_;
  std::filesystem::path log_;
  ScopedEnvironment log_variable_;
};

TEST_F(KitStandin, JavaRecordsItsStartAndEndsWithTheStatusItIsGiven) {
  ScopedEnvironment classpath("CLASSPATH", "C:\\lib\\extra.jar");
  ScopedEnvironment status(kStandinStatusVariable, "4294967295");
  ScopedCurrentDirectory in(temp_.path());
  SpawnResult result =
      SpawnProgram((bin_ / "java.exe").string(),
                   {"java.exe", "-classpath", ".;%CLASSPATH%;C:\\jdk\\classes", "pkg.Hello", ""});
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exit_status, 0xFFFFFFFFu);
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "java.exe -classpath .;%CLASSPATH%;C:\\jdk\\classes pkg.Hello ");
  EXPECT_TRUE(std::filesystem::equivalent(records[0].directory, temp_.path())) << records[0].directory;
  EXPECT_TRUE(records[0].has_classpath);
  EXPECT_EQ(records[0].classpath, "C:\\lib\\extra.jar");
}

TEST_F(KitStandin, JavacWritesTheFileItIsToldAndAppendsToTheLog) {
  ScopedEnvironment no_classpath("CLASSPATH");
  ScopedEnvironment class_file(kStandinWriteVariable, (temp_.path() / "Hello.class").string());
  for (int run = 0; run < 2; ++run) {
    SpawnResult result = SpawnProgram((bin_ / "javac.exe").string(), {"javac.exe", "\"Hello.java\""});
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exit_status, 0u);
  }
  EXPECT_TRUE(std::filesystem::exists(temp_.path() / "Hello.class"));
  std::vector<StandinRecord> records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].command_line, "javac.exe \"Hello.java\"");
  EXPECT_FALSE(records[1].has_classpath);
}

}  // namespace
}  // namespace nerbo
