#include <cstdlib>

#include "runtime/spawn_child.h"
#include "runtime/windows_api.h"

namespace nerbo {

const bool kChildReportsRawLine = true;
const bool kChildCanBeKilled = false;

std::string OwnProgramPath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

std::vector<std::string> ReceivedArguments() { return {GetCommandLineA()}; }

void EndChild(const std::string& how) {
  ExitProcess(static_cast<UINT>(std::strtoul(how.c_str(), nullptr, 10)));
}

}  // namespace nerbo
