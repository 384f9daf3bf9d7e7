#include "runtime/environment.h"

#include "runtime/windows_api.h"

namespace nerbo {

// The process environment block, not the C runtime's copy of it taken at
// start-up: the block is what a child receives.
bool LookUpEnvironment(const char* name, std::string* value) {
  std::string buffer(1, '\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);  // an empty value also gives length 0
    DWORD length = GetEnvironmentVariableA(name, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    if (length < buffer.size()) {
      buffer.resize(length);
      *value = buffer;
      return true;
    }
    buffer.resize(length);  // the size needed, the terminator included
  }
}

}  // namespace nerbo
