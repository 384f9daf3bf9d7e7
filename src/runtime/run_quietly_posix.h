// Linux only, for the desktop's cache tools (defined in spawn_posix.cpp):
// starts `argv[0]`, looked up along PATH, with `argv` as its arguments and
// the null device as its standard streams, so that nothing it prints reaches
// the user, and waits.
#pragma once

#include <string>
#include <vector>

#include "runtime/spawn.h"

namespace nerbo {

SpawnResult RunQuietly(const std::vector<std::string>& argv);

}  // namespace nerbo
