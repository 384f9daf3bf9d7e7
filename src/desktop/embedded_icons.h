// The program's icons (res/*.ico) as PNG files, made by the build and built
// into the Linux program so that its desktop installation needs no file
// beside it.
#pragma once

#include <string>

namespace nerbo {

std::string ClassIconPng();
std::string SourceIconPng();

}  // namespace nerbo
