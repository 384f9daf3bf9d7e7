// Turns what a terminal sends for one key press into the key event a Windows
// console would report: virtual-key code and modifier state. The Linux
// console backend reads /dev/tty in raw mode and decodes with this.
#pragma once

#include <string>

#include "runtime/portable/input_event.h"

namespace nerbo {

// How many bytes of `bytes` form the first key sequence: 0 when more bytes
// are needed to tell (an escape sequence not yet complete).
std::size_t KeySequenceLength(const std::string& bytes);

// Decodes one whole key sequence. Sequences that are no key press (focus
// reports, unknown sequences) give an event that is not a key.
InputEvent DecodeKeySequence(const std::string& sequence);

}  // namespace nerbo
