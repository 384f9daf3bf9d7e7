// The texts of the tool's error numbers.
#pragma once

namespace nerbo {

// The text of `number`; "Unknown error" outside 0..48.
const char* ErrorText(int number);

}  // namespace nerbo
