// What console input yields on every platform: key events as the Windows
// console reports them (virtual-key code, key down, modifier bits) and the
// two results of a byte read that are no byte. The console backends, the
// terminal decoder and the key filter share these names.
#pragma once

#include <cstdint>

namespace nerbo {

// Modifier bits of a key event.
inline constexpr std::uint32_t kRightAlt = 0x0001;
inline constexpr std::uint32_t kLeftAlt = 0x0002;
inline constexpr std::uint32_t kRightCtrl = 0x0004;
inline constexpr std::uint32_t kLeftCtrl = 0x0008;
inline constexpr std::uint32_t kShift = 0x0010;
inline constexpr std::uint32_t kNumLock = 0x0020;

// Virtual-key codes of the keys the tool names; a letter or digit key's code
// is its upper-case character.
enum VirtualKey : std::uint16_t {
  kVkBack = 8,
  kVkTab = 9,
  kVkClear = 12,  // keypad 5 without Num Lock
  kVkReturn = 13,
  kVkShift = 16,
  kVkControl = 17,
  kVkMenu = 18,  // Alt
  kVkCapital = 20,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkPrior = 33,
  kVkNext = 34,
  kVkEnd = 35,
  kVkHome = 36,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkInsert = 45,
  kVkDelete = 46,
  kVkNumpad0 = 96,
  kVkNumpad9 = 105,
  kVkMultiply = 106,
  kVkAdd = 107,
  kVkSubtract = 109,
  kVkDecimal = 110,
  kVkDivide = 111,
  kVkF1 = 112,
  kVkF12 = 123,
  kVkNumLock = 144,
  kVkScroll = 145,
  // The punctuation keys, by their US-layout characters.
  kVkOem1 = 186,  // ;:
  kVkOemPlus = 187,
  kVkOemComma = 188,
  kVkOemMinus = 189,
  kVkOemPeriod = 190,
  kVkOem2 = 191,  // /?
  kVkOem3 = 192,  // `~
  kVkOem4 = 219,  // [{
  kVkOem5 = 220,  // \|
  kVkOem6 = 221,  // ]}
  kVkOem7 = 222,  // '"
};

struct InputEvent {
  bool is_key = false;  // other kinds (mouse, focus, resize) never end a wait
  bool key_down = false;
  std::uint16_t virtual_key = 0;
  std::uint32_t modifiers = 0;
};

// The press of a key with the modifiers held.
inline InputEvent KeyDown(std::uint16_t virtual_key, std::uint32_t modifiers = 0) {
  InputEvent event;
  event.is_key = true;
  event.key_down = true;
  event.virtual_key = virtual_key;
  event.modifiers = modifiers;
  return event;
}

// Results of a byte read besides a byte 0..255.
inline constexpr int kEndOfInput = -1;
inline constexpr int kInputError = -2;

}  // namespace nerbo
