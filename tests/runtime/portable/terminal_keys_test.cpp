#include "runtime/portable/terminal_keys.h"

#include <gtest/gtest.h>

#include "launcher/key_filter.h"

namespace nerbo {
namespace {

struct SequenceCase {
  const char* why;
  std::string bytes;
  std::uint16_t virtual_key;  // 0: no key event
  std::uint32_t modifiers;
  bool ends_wait;
};

class TerminalKeyTable : public testing::TestWithParam<SequenceCase> {};

TEST_P(TerminalKeyTable, DecodesOneKeyPress) {
  const SequenceCase& c = GetParam();
  // An Esc alone is told from a sequence by a pause, not by its bytes.
  if (c.bytes != "\x1b") {
    ASSERT_EQ(KeySequenceLength(c.bytes), c.bytes.size()) << c.why;
  }
  InputEvent event = DecodeKeySequence(c.bytes);
  EXPECT_EQ(event.is_key, c.virtual_key != 0) << c.why;
  if (event.is_key) {
    EXPECT_TRUE(event.key_down) << c.why;
    EXPECT_EQ(event.virtual_key, c.virtual_key) << c.why;
    EXPECT_EQ(event.modifiers, c.modifiers) << c.why;
  }
  EXPECT_EQ(event.is_key && KeyEndsWait(event.virtual_key, event.modifiers), c.ends_wait) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TerminalKeyTable,
    testing::Values(
        SequenceCase{"a", "a", 'A', 0, true}, SequenceCase{"A is Shift+A", "A", 'A', kShift, true},
        SequenceCase{"digit", "7", '7', 0, true}, SequenceCase{"! is Shift+1", "!", '1', kShift, true},
        SequenceCase{"space", " ", 32, 0, true}, SequenceCase{"Enter", "\r", 13, 0, true},
        SequenceCase{"Tab", "\t", 9, 0, true}, SequenceCase{"Backspace", "\x7f", 8, 0, true},
        SequenceCase{"Esc alone", "\x1b", 27, 0, true}, SequenceCase{"Ctrl+C", "\x03", 'C', kLeftCtrl, true},
        SequenceCase{"Ctrl+2", std::string(1, '\0'), '2', kLeftCtrl, true},
        SequenceCase{"Ctrl+6", "\x1e", '6', kLeftCtrl, true}, SequenceCase{"; key", ";", 186, 0, true},
        SequenceCase{"\" is Shift+'", "\"", 222, kShift, true},
        SequenceCase{"a national letter", "\xc3\xa8", 222, 0, true},
        SequenceCase{"Alt+x", "\x1bx", 'X', kLeftAlt, true}));

INSTANTIATE_TEST_SUITE_P(
    EscapeSequences, TerminalKeyTable,
    testing::Values(SequenceCase{"up", "\x1b[A", 38, 0, true}, SequenceCase{"left", "\x1b[D", 37, 0, true},
                    SequenceCase{"application-mode down", "\x1bOB", 40, 0, true},
                    SequenceCase{"Ctrl+right", "\x1b[1;5C", 39, kLeftCtrl, true},
                    SequenceCase{"Home", "\x1b[H", 36, 0, true}, SequenceCase{"End", "\x1b[4~", 35, 0, true},
                    SequenceCase{"Insert", "\x1b[2~", 45, 0, true},
                    SequenceCase{"Delete", "\x1b[3~", 46, 0, true},
                    SequenceCase{"Page Down", "\x1b[6~", 34, 0, true},
                    SequenceCase{"F1", "\x1bOP", 112, 0, true}, SequenceCase{"F5", "\x1b[15~", 116, 0, true},
                    SequenceCase{"F12", "\x1b[24~", 123, 0, true},
                    SequenceCase{"Shift+Tab", "\x1b[Z", 9, kShift, true},
                    SequenceCase{"keypad 5 without Num Lock", "\x1b[E", 12, 0, false},
                    SequenceCase{"focus report", "\x1b[I", 0, 0, false},
                    SequenceCase{"unknown sequence", "\x1b[99~", 0, 0, false}));

INSTANTIATE_TEST_SUITE_P(KeysReportedAlone, TerminalKeyTable,
                         testing::Values(SequenceCase{"left Shift alone", "\x1b[57441u", 16, 0, false},
                                         SequenceCase{"right Ctrl alone", "\x1b[57448;5u", 17, kLeftCtrl,
                                                      false},
                                         SequenceCase{"left Alt alone", "\x1b[57443u", 18, 0, false},
                                         SequenceCase{"Caps Lock", "\x1b[57358u", 20, 0, false},
                                         SequenceCase{"Ctrl+1", "\x1b[49;5u", '1', kLeftCtrl, false},
                                         SequenceCase{"Ctrl+a", "\x1b[97;5u", 'A', kLeftCtrl, true}));

TEST(KeySequenceLength, WaitsForTheRestOfASequence) {
  EXPECT_EQ(KeySequenceLength(""), 0u);
  EXPECT_EQ(KeySequenceLength("\x1b"), 0u);
  EXPECT_EQ(KeySequenceLength("\x1b["), 0u);
  EXPECT_EQ(KeySequenceLength("\x1b[1;5"), 0u);
  EXPECT_EQ(KeySequenceLength("\x1bO"), 0u);
  EXPECT_EQ(KeySequenceLength("\xe2\x96"), 0u);
  EXPECT_EQ(KeySequenceLength("ab"), 1u);
  EXPECT_EQ(KeySequenceLength("\x1b[Aa"), 3u);
}

}  // namespace
}  // namespace nerbo
