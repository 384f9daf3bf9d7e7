// The console seam: the standard streams as the tool uses them and the raw
// key events of the console input (runtime/portable/input_event.h). One real
// backend per platform (console_win32.cpp, console_posix.cpp); tests use a
// recording fake.
#pragma once

#include <cstddef>
#include <memory>

#include "runtime/portable/input_event.h"

namespace nerbo {

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
