#include <cctype>
#include <string>

#include "runtime/error_number.h"
#include "runtime/windows_api.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

constexpr DWORD kFullPathSize = 260;

int FailWithLastError() {
  SetErrorNumber(ErrorNumberFromPlatformCode(GetLastError()));
  return -1;
}

// The environment variable "=C:" records drive C:'s current directory.
std::string DriveRecordName(char letter) {
  return std::string("=") + static_cast<char>(std::toupper(static_cast<unsigned char>(letter))) + ":";
}

}  // namespace

bool ReadCurrentDirectory(std::string* directory) {
  char buffer[kFullPathSize];
  DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  directory->assign(buffer, length);
  return true;
}

int ChangeDirectory(const std::string& path) {
  if (!SetCurrentDirectoryA(path.c_str())) return FailWithLastError();
  char current[kFullPathSize];
  DWORD length = GetCurrentDirectoryA(sizeof current, current);
  if (length == 0 || length >= sizeof current) return FailWithLastError();
  if (std::isalpha(static_cast<unsigned char>(current[0])) && current[1] == ':') {
    if (!SetEnvironmentVariableA(DriveRecordName(current[0]).c_str(), current)) return FailWithLastError();
  }
  return 0;
}

int SelectDrive(int number) {
  char letter = static_cast<char>((number + 'A') & 0xff);
  std::string record = DriveRecordName(letter);
  char directory[kFullPathSize];
  DWORD length = GetEnvironmentVariableA(record.c_str(), directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) {
    std::string root = std::string(1, letter) + ":\\";
    SetEnvironmentVariableA(record.c_str(), root.c_str());
    root.copy(directory, root.size());
    directory[root.size()] = '\0';
  }
  if (!SetCurrentDirectoryA(directory)) {
    FailWithLastError();
    return 0;
  }
  int drives = 0;
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    char root[] = {drive, ':', '\\', '\0'};
    UINT type = GetDriveTypeA(root);
    if (type != DRIVE_UNKNOWN && type != DRIVE_NO_ROOT_DIR) ++drives;
  }
  return drives;
}

}  // namespace nerbo
