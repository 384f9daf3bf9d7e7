// Which key presses end the final key wait. A pure function of the key's
// virtual-key code and the modifier state, so it is the same on every
// platform and testable by table.
#pragma once

#include <cstdint>

namespace nerbo {

bool KeyEndsWait(std::uint16_t virtual_key, std::uint32_t modifiers);

}  // namespace nerbo
