#include "launcher/key_filter.h"

#include "runtime/console.h"

namespace nerbo {
namespace {

bool InRange(std::uint16_t key, std::uint16_t low, std::uint16_t high) { return key >= low && key <= high; }

bool IsDigit(std::uint16_t key) { return InRange(key, '0', '9'); }
bool IsKeypadDigit(std::uint16_t key) { return InRange(key, 96, 105); }

// Keys that produce a character or move the cursor: the rest (modifiers
// alone, locks, Pause, Print Screen, the Windows and application keys,
// keypad 5 without Num Lock) never end the wait.
bool IsCountingKey(std::uint16_t key) {
  switch (key) {
    case 8:   // Backspace
    case 9:   // Tab
    case 13:  // Enter
    case 27:  // Esc
    case 32:  // Space
    case 45:  // Insert
    case 46:  // Delete
    case 106:
    case 107:
    case 109:
    case 110:
    case 111:  // keypad * + - . /
      return true;
    default:
      return InRange(key, 33, 40) || IsDigit(key) || InRange(key, 'A', 'Z') || IsKeypadDigit(key) ||
             InRange(key, 112, 123) || InRange(key, 186, 192) || InRange(key, 219, 222);
  }
}

// Ctrl with these punctuation keys gives no character.
bool IsDeadCtrlPunctuation(std::uint16_t key) {
  switch (key) {
    case 186:
    case 187:
    case 188:
    case 190:
    case 191:
    case 192:
    case 222:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool KeyEndsWait(std::uint16_t virtual_key, std::uint32_t modifiers) {
  if (!IsCountingKey(virtual_key)) return false;
  if (modifiers & (kLeftAlt | kRightAlt)) return !IsKeypadDigit(virtual_key);
  if (modifiers & (kLeftCtrl | kRightCtrl)) {
    if (IsDigit(virtual_key)) return virtual_key == '2' || virtual_key == '6';
    return !IsDeadCtrlPunctuation(virtual_key);
  }
  return true;
}

}  // namespace nerbo
