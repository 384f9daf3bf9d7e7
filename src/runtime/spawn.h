// Starting a child program and waiting for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nerbo {

struct SpawnResult {
  bool started = false;          // false: nothing ran, the error number is set
  std::uint32_t exit_status = 0;
};

// Resolves `program`, starts it with the command line joined from
// `arguments` (argument 0 first), waits for it and gives its exit status.
SpawnResult SpawnProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace nerbo
