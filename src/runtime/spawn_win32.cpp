#include <vector>

#include "runtime/environment.h"
#include "runtime/error_number.h"
#include "runtime/file_search.h"
#include "runtime/spawn_platform.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(full, length);
}

// Only three causes of a refused start have texts of their own; anything
// else (a directory, a file that is no program) reads as a format error.
int StartFailureNumber(DWORD code) {
  switch (code & 0xFFFF) {
    case ERROR_NOT_ENOUGH_MEMORY:
      return kErrNoMemory;
    case ERROR_INVALID_FUNCTION:
      return kErrInvalid;
    case ERROR_NO_PROC_SLOTS:
      return kErrAgain;
    default:
      return kErrExecFormat;
  }
}

}  // namespace

const LaunchRules& HostLaunchRules() { return kWindowsLaunchRules; }

LaunchPlatform HostLaunchPlatform() { return {PathExists, LookUpEnvironment, FullPath}; }

SpawnResult StartAndWait(const LaunchPlan& plan) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.wShowWindow = SW_SHOWDEFAULT;
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof security;
  security.bInheritHandle = TRUE;
  std::vector<char> line(plan.command_line.begin(), plan.command_line.end());
  line.push_back('\0');  // CreateProcessA may write into the line

  PROCESS_INFORMATION process{};
  if (!CreateProcessA(plan.application.c_str(), line.data(), &security, &security, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    SetErrorNumber(StartFailureNumber(GetLastError()));
    return {};
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  // A status that cannot be read must not pass for success.
  if (!GetExitCodeProcess(process.hProcess, &status)) status = 1;
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return {true, status};
}

}  // namespace nerbo
