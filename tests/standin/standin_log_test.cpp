#include "standin/standin_log.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

TEST(StandinLog, ReadsBackRecordsWithAndWithoutClassPath) {
  StandinRecord first{"java.exe -classpath .;x=y pkg.Hello ", "C:\\work", true, ""};
  StandinRecord second{"javac.exe a.java", "C:\\", false, ""};
  std::vector<StandinRecord> records =
      ParseStandinLog(FormatStandinRecord(first) + FormatStandinRecord(second));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].command_line, first.command_line);  // '=' in a value is kept
  EXPECT_EQ(records[0].directory, "C:\\work");
  EXPECT_TRUE(records[0].has_classpath);
  EXPECT_EQ(records[0].classpath, "");
  EXPECT_EQ(records[1].command_line, second.command_line);
  EXPECT_FALSE(records[1].has_classpath);
}

}  // namespace
}  // namespace nerbo
