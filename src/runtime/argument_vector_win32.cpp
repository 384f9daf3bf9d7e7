#include "runtime/argument_vector.h"
#include "runtime/command_line.h"
#include "runtime/windows_api.h"

namespace nerbo {

std::vector<std::string> BuildArgumentVector(int, char**) {
  // The platform call is given 255 bytes, so at most 254 characters.
  char module[255];
  DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
  if (length >= sizeof module) length = sizeof module - 1;
  std::vector<std::string> arguments{std::string(module, length)};
  for (std::string& argument : SplitArguments(SkipProgramName(GetCommandLineA()))) {
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace nerbo
