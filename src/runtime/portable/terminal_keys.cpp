#include "runtime/portable/terminal_keys.h"

#include <cstdlib>
#include <cstring>

namespace nerbo {
namespace {

constexpr char kEsc = '\x1b';

// A printable character of the US layout: its key and whether Shift is down.
InputEvent CharacterKey(unsigned char c) {
  if (c >= 'a' && c <= 'z') return KeyDown(static_cast<std::uint16_t>(c - 'a' + 'A'));
  if (c >= 'A' && c <= 'Z') return KeyDown(c, kShift);
  if (c >= '0' && c <= '9') return KeyDown(c);
  if (c == ' ') return KeyDown(kVkSpace);
  static const char kShiftedDigits[] = ")!@#$%^&*(";
  if (const char* p = std::strchr(kShiftedDigits, c); p != nullptr && c != '\0') {
    return KeyDown(static_cast<std::uint16_t>('0' + (p - kShiftedDigits)), kShift);
  }
  static const char kPlain[] = ";=,-./`[\\]'";
  static const char kShifted[] = ":+<_>?~{|}\"";
  static const std::uint16_t kKeys[] = {kVkOem1, kVkOemPlus, kVkOemComma, kVkOemMinus, kVkOemPeriod, kVkOem2,
                                        kVkOem3, kVkOem4,    kVkOem5,     kVkOem6,     kVkOem7};
  if (const char* p = std::strchr(kPlain, c); p != nullptr && c != '\0') return KeyDown(kKeys[p - kPlain]);
  if (const char* p = std::strchr(kShifted, c); p != nullptr && c != '\0')
    return KeyDown(kKeys[p - kShifted], kShift);
  return InputEvent{};
}

InputEvent ControlByte(unsigned char c) {
  switch (c) {
    case 0:
      return KeyDown('2', kLeftCtrl);
    case 8:
    case 0x7f:
      return KeyDown(kVkBack);
    case 9:
      return KeyDown(kVkTab);
    case 10:
    case 13:
      return KeyDown(kVkReturn);
    case 0x1c:
      return KeyDown(kVkOem5, kLeftCtrl);
    case 0x1d:
      return KeyDown(kVkOem6, kLeftCtrl);
    case 0x1e:
      return KeyDown('6', kLeftCtrl);
    case 0x1f:
      return KeyDown(kVkOemMinus, kLeftCtrl);
    default:
      return KeyDown(static_cast<std::uint16_t>('A' + c - 1), kLeftCtrl);  // Ctrl+A .. Ctrl+Z
  }
}

// The modifier parameter of xterm-style sequences: 1 + Shift(1) + Alt(2) + Ctrl(4).
std::uint32_t Modifiers(long parameter) {
  if (parameter < 2) return 0;
  long bits = parameter - 1;
  std::uint32_t modifiers = 0;
  if (bits & 1) modifiers |= kShift;
  if (bits & 2) modifiers |= kLeftAlt;
  if (bits & 4) modifiers |= kLeftCtrl;
  return modifiers;
}

// "~"-terminated sequences: ESC [ number ~.
std::uint16_t TildeKey(long number) {
  switch (number) {
    case 1:
    case 7:
      return kVkHome;
    case 2:
      return kVkInsert;
    case 3:
      return kVkDelete;
    case 4:
    case 8:
      return kVkEnd;
    case 5:
      return kVkPrior;
    case 6:
      return kVkNext;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
      return static_cast<std::uint16_t>(kVkF1 + number - 11);
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
      return static_cast<std::uint16_t>(kVkF1 + number - 12);
    case 23:
    case 24:
      return static_cast<std::uint16_t>(kVkF1 + number - 13);
    default:
      return 0;
  }
}

// Final letters of ESC [ ... X and ESC O X.
std::uint16_t LetterKey(char final) {
  switch (final) {
    case 'A':
      return kVkUp;
    case 'B':
      return kVkDown;
    case 'C':
      return kVkRight;
    case 'D':
      return kVkLeft;
    case 'E':
      return kVkClear;  // keypad 5 without Num Lock
    case 'F':
      return kVkEnd;
    case 'H':
      return kVkHome;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
      return static_cast<std::uint16_t>(kVkF1 + final - 'P');
    case 'M':
      return kVkReturn;  // keypad Enter in application mode
    default:
      return 0;
  }
}

// Key codes of the keyboard protocol that reports every key, modifiers and
// locks alone included, as ESC [ code ; modifiers u.
InputEvent ProtocolKey(long code, std::uint32_t modifiers) {
  switch (code) {
    case 9:
      return KeyDown(kVkTab, modifiers);
    case 13:
      return KeyDown(kVkReturn, modifiers);
    case 27:
      return KeyDown(kVkEscape, modifiers);
    case 127:
      return KeyDown(kVkBack, modifiers);
    case 57358:
      return KeyDown(kVkCapital, modifiers);
    case 57359:
      return KeyDown(kVkScroll, modifiers);
    case 57360:
      return KeyDown(kVkNumLock, modifiers);
    case 57441:
    case 57447:
      return KeyDown(kVkShift, modifiers);
    case 57442:
    case 57448:
      return KeyDown(kVkControl, modifiers);
    case 57443:
    case 57449:
      return KeyDown(kVkMenu, modifiers);
    default:
      break;
  }
  if (code > 0 && code < 128) {
    InputEvent event = CharacterKey(static_cast<unsigned char>(code));
    event.modifiers |= modifiers;
    return event;
  }
  return InputEvent{};
}

InputEvent ControlSequence(const std::string& body, char final) {
  // body: the parameter bytes between "ESC [" and the final byte.
  long numbers[2] = {1, 1};
  const char* p = body.c_str();
  for (long& number : numbers) {
    if (*p == '\0') break;
    char* end = nullptr;
    number = std::strtol(p, &end, 10);
    p = *end == ';' ? end + 1 : end;
  }
  std::uint32_t modifiers = Modifiers(numbers[1]);
  if (final == '~') {
    std::uint16_t key = TildeKey(numbers[0]);
    return key != 0 ? KeyDown(key, modifiers) : InputEvent{};
  }
  if (final == 'u') return ProtocolKey(numbers[0], modifiers);
  if (final == 'Z') return KeyDown(kVkTab, kShift);
  std::uint16_t key = LetterKey(final);
  return key != 0 ? KeyDown(key, modifiers) : InputEvent{};
}

}  // namespace

std::size_t KeySequenceLength(const std::string& bytes) {
  if (bytes.empty()) return 0;
  unsigned char lead = static_cast<unsigned char>(bytes[0]);
  if (lead >= 0xc0) {  // a UTF-8 character: its lead byte tells its length
    std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
    return bytes.size() >= length ? length : 0;
  }
  if (lead != kEsc) return 1;
  if (bytes.size() < 2) return 0;
  if (bytes[1] == 'O') return bytes.size() >= 3 ? 3 : 0;
  if (bytes[1] != '[') return 2;  // Alt with a character
  for (std::size_t i = 2; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x40 && c <= 0x7e) return i + 1;
  }
  return 0;
}

InputEvent DecodeKeySequence(const std::string& sequence) {
  if (sequence.empty()) return InputEvent{};
  unsigned char lead = static_cast<unsigned char>(sequence[0]);
  if (lead >= 0x80) return KeyDown(kVkOem7);  // a character of a national layout
  if (lead != static_cast<unsigned char>(kEsc)) {
    return lead < 0x20 || lead == 0x7f ? ControlByte(lead) : CharacterKey(lead);
  }
  if (sequence.size() == 1) return KeyDown(kVkEscape);
  if (sequence[1] == 'O' && sequence.size() == 3) {
    std::uint16_t key = LetterKey(sequence[2]);
    return key != 0 ? KeyDown(key) : InputEvent{};
  }
  if (sequence[1] == '[' && sequence.size() >= 3) {
    return ControlSequence(sequence.substr(2, sequence.size() - 3), sequence.back());
  }
  InputEvent event = DecodeKeySequence(sequence.substr(1));
  if (event.is_key) event.modifiers |= kLeftAlt;
  return event;
}

}  // namespace nerbo
