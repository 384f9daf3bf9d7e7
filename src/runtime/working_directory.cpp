#include "runtime/working_directory.h"

#include "runtime/error_number.h"

namespace nerbo {

// The platform's reading of the current directory, in its own file.
bool ReadCurrentDirectory(std::string* directory);

bool GetWorkingDirectory(std::string* directory, std::size_t buffer_size) {
  std::string current;
  if (!ReadCurrentDirectory(&current)) {
    SetErrorNumber(kErrNoMemory);
    return false;
  }
  if (current.size() >= buffer_size) {
    SetErrorNumber(current.size() == buffer_size ? kErrRange : kErrNoMemory);
    return false;
  }
  *directory = current;
  return true;
}

}  // namespace nerbo
