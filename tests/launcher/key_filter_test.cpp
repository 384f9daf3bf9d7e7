#include "launcher/key_filter.h"

#include <gtest/gtest.h>

#include "runtime/portable/input_event.h"

namespace nerbo {
namespace {

struct KeyCase {
  const char* why;
  std::uint16_t virtual_key;
  std::uint32_t modifiers;
  bool ends_wait;
};

class KeyFilterTable : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilterTable, DecidesWhetherTheKeyEndsTheWait) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(KeyEndsWait(c.virtual_key, c.modifiers), c.ends_wait) << c.why;
}

constexpr std::uint32_t kCtrl = kLeftCtrl;
constexpr std::uint32_t kAlt = kLeftAlt;

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyFilterTable,
    testing::Values(KeyCase{"a letter", 'A', 0, true}, KeyCase{"Shift+A", 'A', kShift, true},
                    KeyCase{"the last letter", 'Z', 0, true}, KeyCase{"a digit", '0', 0, true},
                    KeyCase{"Backspace", 8, 0, true}, KeyCase{"Tab", 9, 0, true},
                    KeyCase{"Enter", 13, 0, true}, KeyCase{"Esc", 27, 0, true}, KeyCase{"Space", 32, 0, true},
                    KeyCase{"Page Up", 33, 0, true}, KeyCase{"Down arrow", 40, 0, true},
                    KeyCase{"Insert", 45, 0, true}, KeyCase{"Delete", 46, 0, true},
                    KeyCase{"keypad 0", 96, kNumLock, true}, KeyCase{"keypad 9", 105, 0, true},
                    KeyCase{"keypad *", 106, 0, true}, KeyCase{"keypad +", 107, 0, true},
                    KeyCase{"keypad separator", 108, 0, false}, KeyCase{"keypad -", 109, 0, true},
                    KeyCase{"keypad /", 111, 0, true}, KeyCase{"F1", 112, 0, true},
                    KeyCase{"F12", 123, 0, true}, KeyCase{"F13", 124, 0, false},
                    KeyCase{"punctuation ;", 186, 0, true}, KeyCase{"punctuation `", 192, 0, true},
                    KeyCase{"between the punctuation groups", 193, 0, false},
                    KeyCase{"punctuation [", 219, 0, true}, KeyCase{"punctuation '", 222, 0, true},
                    KeyCase{"OEM 102", 226, 0, false}));

INSTANTIATE_TEST_SUITE_P(
    KeysThatNeverCount, KeyFilterTable,
    testing::Values(KeyCase{"Shift alone", 16, kShift, false}, KeyCase{"Ctrl alone", 17, kCtrl, false},
                    KeyCase{"Alt alone", 18, kAlt, false}, KeyCase{"Pause", 19, 0, false},
                    KeyCase{"Caps Lock", 20, 0, false}, KeyCase{"keypad 5 without Num Lock", 12, 0, false},
                    KeyCase{"Print Screen", 44, 0, false}, KeyCase{"left Windows key", 91, 0, false},
                    KeyCase{"application key", 93, 0, false}, KeyCase{"Num Lock", 144, 0, false},
                    KeyCase{"Scroll Lock", 145, 0, false},
                    KeyCase{"Ctrl+Shift alone", 16, kCtrl | kShift, false}));

INSTANTIATE_TEST_SUITE_P(
    Modifiers, KeyFilterTable,
    testing::Values(
        KeyCase{"Ctrl+2 gives a character", '2', kCtrl, true},
        KeyCase{"Ctrl+6 gives a character", '6', kRightCtrl, true},
        KeyCase{"Ctrl+1 gives none", '1', kCtrl, false}, KeyCase{"Ctrl+0 gives none", '0', kRightCtrl, false},
        KeyCase{"Ctrl+letter", 'C', kCtrl, true}, KeyCase{"Ctrl+keypad digit", 97, kCtrl, true},
        KeyCase{"Ctrl+;", 186, kCtrl, false}, KeyCase{"Ctrl+=", 187, kCtrl, false},
        KeyCase{"Ctrl+,", 188, kCtrl, false}, KeyCase{"Ctrl+-", 189, kCtrl, true},
        KeyCase{"Ctrl+.", 190, kCtrl, false}, KeyCase{"Ctrl+/", 191, kCtrl, false},
        KeyCase{"Ctrl+`", 192, kCtrl, false}, KeyCase{"Ctrl+[", 219, kCtrl, true},
        KeyCase{"Ctrl+'", 222, kCtrl, false}, KeyCase{"Alt+keypad digit", 100, kAlt, false},
        KeyCase{"right Alt+keypad digit", 96, kRightAlt, false}, KeyCase{"Alt+digit", '1', kAlt, true},
        KeyCase{"Alt wins over Ctrl: Ctrl+Alt+1", '1', kCtrl | kAlt, true},
        KeyCase{"Alt wins over Ctrl: Ctrl+Alt+;", 186, kCtrl | kAlt, true},
        KeyCase{"Ctrl wins over Shift", '1', kCtrl | kShift, false},
        KeyCase{"Shift+digit", '1', kShift, true}, KeyCase{"Alt+Shift alone", 16, kAlt | kShift, false}));

}  // namespace
}  // namespace nerbo
