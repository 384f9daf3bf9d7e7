#include <unistd.h>

#include <climits>

#include "runtime/argument_vector.h"

namespace nerbo {

std::vector<std::string> BuildArgumentVector(int argc, char** argv) {
  std::vector<std::string> arguments(argv, argv + argc);
  char self[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string program = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string();
  if (arguments.empty()) arguments.emplace_back();
  if (!program.empty()) arguments[0] = program;
  return arguments;
}

bool ArgumentLostCharacters(std::size_t) { return false; }

}  // namespace nerbo
