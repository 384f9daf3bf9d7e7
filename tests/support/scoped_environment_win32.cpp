#include "runtime/windows_api.h"
#include "support/scoped_environment.h"

namespace nerbo {

bool ReadEnvironment(const std::string& name, std::string* value) {
  char buffer[32768];
  DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
  if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
  if (length >= sizeof buffer) return false;
  value->assign(buffer, length);
  return true;
}

// The process environment block, which children inherit and which the tool
// reads with GetEnvironmentVariableA.
void WriteEnvironment(const std::string& name, const std::string* value) {
  SetEnvironmentVariableA(name.c_str(), value != nullptr ? value->c_str() : nullptr);
}

}  // namespace nerbo
