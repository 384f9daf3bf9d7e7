#include "runtime/name_encoding.h"

namespace nerbo {

std::optional<std::string> NativeNameFromUtf8(const std::string& utf8) { return utf8; }

}  // namespace nerbo
