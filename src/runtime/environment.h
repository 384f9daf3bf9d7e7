// The process environment, as child processes inherit it.
#pragma once

#include <string>

namespace nerbo {

// The value of the variable `name`; false when it is not set (an empty value
// is set). On Windows the name ignores letter case.
bool LookUpEnvironment(const char* name, std::string* value);

}  // namespace nerbo
