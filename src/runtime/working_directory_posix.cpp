#include <unistd.h>

#include <cerrno>
#include <climits>

#include "runtime/error_number.h"
#include "runtime/working_directory.h"

namespace nerbo {

bool ReadCurrentDirectory(std::string* directory) {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) return false;
  *directory = buffer;
  return true;
}

int ChangeDirectory(const std::string& path) {
  if (chdir(path.c_str()) != 0) {
    SetErrorNumber(ErrorNumberFromPlatformCode(static_cast<unsigned long>(errno)));
    return -1;
  }
  return 0;
}

// Linux has one tree and no drives: selecting one changes nothing, and the
// one root counts as the one drive present.
int SelectDrive(int) { return 1; }

}  // namespace nerbo
