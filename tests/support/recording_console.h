// A console for tests: records what the tool writes, serves standard input
// from a string and key events from a list.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "runtime/console.h"

namespace nerbo {

class RecordingConsole : public Console {
 public:
  std::string out;           // standard output as written
  std::string err;           // standard error as written
  std::string transcript;    // both, in order
  std::string input;         // standard input bytes
  bool input_error = false;  // the read after the last byte fails
  bool input_is_console = false;
  bool has_console = true;  // false: the key wait cannot use the console
  std::deque<InputEvent> events;
  std::function<void()> at_key_wait;  // runs as the key wait begins
  int flushes = 0;
  int raw_begins = 0;
  int raw_ends = 0;
  std::size_t events_read = 0;

  void WriteOut(const char* text, std::size_t length) override;
  void WriteErr(const char* text, std::size_t length) override;
  void Flush() override { ++flushes; }
  const char* LightShade() const override { return "\xb0"; }
  int ReadInputByte() override;
  bool InputIsConsole() override { return input_is_console; }
  bool BeginRawInput() override;
  bool ReadInputEvent(InputEvent* event) override;
  bool EndRawInput() override;

 private:
  std::size_t input_position_ = 0;
};

}  // namespace nerbo
