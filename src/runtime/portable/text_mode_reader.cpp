#include "runtime/portable/text_mode_reader.h"

#include "runtime/portable/input_event.h"

namespace nerbo {

int TextModeReader::Get() {
  if (end_ != 0) return end_;
  for (;;) {
    int byte = next_byte_();
    if (byte == '\r') continue;
    if (byte == 26) byte = kEndOfInput;
    if (byte < 0) end_ = byte;
    return byte;
  }
}

}  // namespace nerbo
