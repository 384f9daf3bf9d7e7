// The icon files of the Windows resources (res/*.ico), built into the Linux
// program so that its desktop installation needs no file beside it.
#pragma once

#include <string>

namespace nerbo {

std::string ClassIconFile();
std::string SourceIconFile();

}  // namespace nerbo
