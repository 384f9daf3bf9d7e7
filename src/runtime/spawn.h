// Starting a program as a child process and waiting for it to end. The child
// shares the console, the current directory and the environment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nerbo {

struct SpawnResult {
  bool started = false;           // false: nothing runs, the error number is set
  std::uint32_t exit_status = 0;  // the child's status as the platform reports it
};

// Resolves `program` (extensions, PATH, command scripts), joins `arguments`
// with single blanks into the child's command line (arguments[0] is the name
// the child sees itself by; nothing is quoted), starts it and waits.
SpawnResult SpawnProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace nerbo
