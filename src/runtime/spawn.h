// Starting a program as a child process and waiting for it to end. The child
// shares the console, the current directory and the environment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nerbo {

// Whether the child started is kept apart from its status, so a child that
// ends with -1 (0xFFFFFFFF) cannot pass for a failed launch.
struct SpawnResult {
  bool started = false;  // false: nothing runs, the error number is set
  // The child's status as the platform reports it: all 32 bits on Windows;
  // on Linux the exit status, or 128 plus the signal number for a child
  // killed by a signal (never 0, so such an end never reads as success).
  std::uint32_t exit_status = 0;
};

// Resolves `program` (extensions, PATH, command scripts), starts it with
// `arguments` (arguments[0] is the name the child sees itself by) and waits:
// on Windows joined with single blanks into the child's command line, with
// nothing quoted; on Linux as the child's argument vector.
SpawnResult SpawnProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace nerbo
