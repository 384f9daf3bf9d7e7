#include "launcher/console_input.h"

#include <gtest/gtest.h>

#include "support/recording_console.h"

namespace nerbo {
namespace {

struct LineCase {
  const char* why;
  std::string input;
  bool input_error;
  bool result;
  std::string line;  // "<untouched>" when the buffer must keep its text
};

class ReadInputLineTable : public testing::TestWithParam<LineCase> {};

TEST_P(ReadInputLineTable, ReadsOneLineInTextMode) {
  const LineCase& c = GetParam();
  RecordingConsole console;
  console.input = c.input;
  console.input_error = c.input_error;
  std::string line = "<untouched>";
  EXPECT_EQ(ReadInputLine(console, &line), c.result) << c.why;
  EXPECT_EQ(line, c.line) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadInputLineTable,
    testing::Values(LineCase{"line end not stored", "a b\nrest", false, true, "a b"},
                    LineCase{"carriage returns dropped anywhere", "a\rb\r\n", false, true, "ab"},
                    LineCase{"empty line", "\n", false, true, ""},
                    LineCase{"last line without line end", "x y", false, true, "x y"},
                    LineCase{"end of input at once", "", false, false, "<untouched>"},
                    LineCase{"Ctrl+Z first", "\x1a\r\n", false, false, "<untouched>"},
                    LineCase{"Ctrl+Z ends the text",
                             "ab\x1a"
                             "cd\n",
                             false, true, "ab"},
                    LineCase{"only a carriage return, then the end", "\r", false, false, "<untouched>"},
                    LineCase{"read error after text", "abc", true, false, "abc"}));

TEST(ReadInputLine, KeepsAtMost1023CharactersAndConsumesTheWholeLine) {
  RecordingConsole console;
  console.input = std::string(1500, 'x') + "\nnext";
  std::string line;
  ASSERT_TRUE(ReadInputLine(console, &line));
  EXPECT_EQ(line, std::string(1023, 'x'));
}

TEST(ReadInputLine, FlushesOutputOnlyWhenInputIsTheConsole) {
  RecordingConsole console;
  console.input = "x\n";
  std::string line;
  ReadInputLine(console, &line);
  EXPECT_EQ(console.flushes, 0);
  console.input_is_console = true;
  ReadInputLine(console, &line);
  EXPECT_EQ(console.flushes, 1);
}

TEST(WaitForKey, SkipsKeysThatDoNotCountReleasesAndOtherEvents) {
  RecordingConsole console;
  InputEvent release = KeyDown('A');
  release.key_down = false;
  console.events = {KeyDown(16, kShift),     release,      InputEvent{},
                    KeyDown('1', kLeftCtrl), KeyDown('A'), KeyDown('B')};
  EXPECT_EQ(WaitForKey(console), 0);
  EXPECT_EQ(console.events_read, 5u);
  EXPECT_EQ(console.raw_begins, 1);
  EXPECT_EQ(console.raw_ends, 1);
}

TEST(WaitForKey, ReturnsAtOnceWithoutAConsole) {
  RecordingConsole console;
  console.has_console = false;
  console.events = {KeyDown('A')};
  EXPECT_EQ(WaitForKey(console), -1);
  EXPECT_EQ(console.events_read, 0u);
}

TEST(WaitForKey, AFailedReadRestoresTheModeAndFails) {
  RecordingConsole console;
  console.events = {KeyDown(20)};
  EXPECT_EQ(WaitForKey(console), -1);
  EXPECT_EQ(console.raw_ends, 1);
}

}  // namespace
}  // namespace nerbo
