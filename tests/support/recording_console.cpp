#include "support/recording_console.h"

namespace nerbo {

void RecordingConsole::WriteOut(const char* text, std::size_t length) {
  out.append(text, length);
  transcript.append(text, length);
}

void RecordingConsole::WriteErr(const char* text, std::size_t length) {
  err.append(text, length);
  transcript.append(text, length);
}

int RecordingConsole::ReadInputByte() {
  if (input_position_ < input.size()) return static_cast<unsigned char>(input[input_position_++]);
  return input_error ? kInputError : kEndOfInput;
}

bool RecordingConsole::BeginRawInput() {
  if (!has_console) return false;
  ++raw_begins;
  if (at_key_wait) at_key_wait();
  return true;
}

bool RecordingConsole::ReadInputEvent(InputEvent* event) {
  if (events.empty()) return false;
  *event = events.front();
  events.pop_front();
  ++events_read;
  return true;
}

bool RecordingConsole::EndRawInput() {
  ++raw_ends;
  return true;
}

}  // namespace nerbo
