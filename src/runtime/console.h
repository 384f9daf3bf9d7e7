// The console seam: the standard streams as the tool uses them and the raw
// key events of the console input. One real backend per platform
// (console_win32.cpp, console_posix.cpp); tests use a recording fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace nerbo {

// Modifier bits of a key event, as the Windows console reports them.
inline constexpr std::uint32_t kRightAlt = 0x0001;
inline constexpr std::uint32_t kLeftAlt = 0x0002;
inline constexpr std::uint32_t kRightCtrl = 0x0004;
inline constexpr std::uint32_t kLeftCtrl = 0x0008;
inline constexpr std::uint32_t kShift = 0x0010;
inline constexpr std::uint32_t kNumLock = 0x0020;

struct InputEvent {
  bool is_key = false;  // other kinds (mouse, focus, resize) never end a wait
  bool key_down = false;
  std::uint16_t virtual_key = 0;
  std::uint32_t modifiers = 0;
};

// Results of ReadInputByte besides a byte 0..255.
inline constexpr int kEndOfInput = -1;
inline constexpr int kInputError = -2;

class Console {
 public:
  virtual ~Console() = default;

  virtual void WriteOut(const char* text, std::size_t length) = 0;
  virtual void WriteErr(const char* text, std::size_t length) = 0;
  // Writes out whatever the tool's streams still hold.
  virtual void Flush() = 0;

  // The light-shade block the banner's rule is drawn with, in the console's
  // encoding.
  virtual const char* LightShade() const = 0;

  // Standard input, untranslated: the text-mode rules are applied above.
  virtual int ReadInputByte() = 0;
  virtual bool InputIsConsole() = 0;

  // The key wait: put the console input into raw mode (saving the mode),
  // read one event at a time, put the saved mode back. Each returns false
  // when the console cannot be used.
  virtual bool BeginRawInput() = 0;
  virtual bool ReadInputEvent(InputEvent* event) = 0;
  virtual bool EndRawInput() = 0;
};

// The process's own console. Sets the standard streams up as the tool wants
// them: standard output unbuffered on a console and buffered when redirected,
// standard error unbuffered.
std::unique_ptr<Console> MakeSystemConsole();

}  // namespace nerbo
