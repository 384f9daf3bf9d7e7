#include "launcher/console_input.h"

#include "launcher/key_filter.h"
#include "runtime/portable/text_mode_reader.h"

namespace nerbo {

bool ReadInputLine(Console& console, std::string* line) {
  if (console.InputIsConsole()) console.Flush();
  TextModeReader input([&console] { return console.ReadInputByte(); });
  std::string text;
  bool any = false;
  int byte;
  while ((byte = input.Get()) >= 0 && byte != '\n') {
    any = true;
    if (text.size() < kInputLineLimit) text += static_cast<char>(byte);
  }
  if (byte == '\n') any = true;
  if (!any) return false;
  *line = text;
  return byte != kInputError;
}

int WaitForKey(Console& console) {
  if (!console.BeginRawInput()) return -1;
  InputEvent event;
  bool read_ok;
  while ((read_ok = console.ReadInputEvent(&event))) {
    if (event.is_key && event.key_down && KeyEndsWait(event.virtual_key, event.modifiers)) break;
  }
  bool restored = console.EndRawInput();
  return read_ok && restored ? 0 : -1;
}

}  // namespace nerbo
