#include "launcher/key_filter.h"

#include "runtime/portable/input_event.h"

namespace nerbo {
namespace {

bool InRange(std::uint16_t key, std::uint16_t low, std::uint16_t high) { return key >= low && key <= high; }

bool IsDigit(std::uint16_t key) { return InRange(key, '0', '9'); }
bool IsKeypadDigit(std::uint16_t key) { return InRange(key, kVkNumpad0, kVkNumpad9); }

// Keys that produce a character or move the cursor: the rest (modifiers
// alone, locks, Pause, Print Screen, the Windows and application keys,
// keypad 5 without Num Lock) never end the wait.
bool IsCountingKey(std::uint16_t key) {
  switch (key) {
    case kVkBack:
    case kVkTab:
    case kVkReturn:
    case kVkEscape:
    case kVkSpace:
    case kVkInsert:
    case kVkDelete:
    case kVkMultiply:
    case kVkAdd:
    case kVkSubtract:
    case kVkDecimal:
    case kVkDivide:
      return true;
    default:
      return InRange(key, kVkPrior, kVkDown) || IsDigit(key) || InRange(key, 'A', 'Z') ||
             IsKeypadDigit(key) || InRange(key, kVkF1, kVkF12) || InRange(key, kVkOem1, kVkOem3) ||
             InRange(key, kVkOem4, kVkOem7);
  }
}

// Ctrl with these punctuation keys gives no character.
bool IsDeadCtrlPunctuation(std::uint16_t key) {
  switch (key) {
    case kVkOem1:
    case kVkOemPlus:
    case kVkOemComma:
    case kVkOemPeriod:
    case kVkOem2:
    case kVkOem3:
    case kVkOem7:
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
