#include <cerrno>

#include "runtime/error_number.h"

namespace nerbo {
namespace {

// errno values by meaning onto the texts of the tool's error table; the
// values themselves differ between systems, so the table names them.
struct ErrnoRow {
  int code;
  int number;
};

constexpr ErrnoRow kErrnoRows[] = {
    {0, 0},
    {ENOENT, kErrNoEntry},
    {EACCES, kErrAccess},
    {ENOMEM, kErrNoMemory},
    {EINVAL, kErrInvalid},
    {E2BIG, 20},
    {ENOEXEC, kErrExecFormat},
    {EXDEV, 22},
    {EMFILE, 4},
    {ENFILE, 23},
    {ECHILD, 24},
    {ENOTTY, 25},
    {ETXTBSY, 26},
    {EFBIG, 27},
    {ENOSPC, 28},
    {ESPIPE, 29},
    {EROFS, 30},
    {EMLINK, 31},
    {EPIPE, 32},
    {EDOM, 33},
    {ERANGE, kErrRange},
    {EEXIST, 35},
    {EDEADLK, 36},
    {EPERM, 37},
    {ESRCH, 38},
    {EINTR, 39},
    {EIO, 40},
    {ENXIO, 41},
    {EAGAIN, kErrAgain},
    {ENOTBLK, 43},
    {EBUSY, 44},
    {ENOTDIR, 45},
    {EISDIR, 46},
    {ENAMETOOLONG, kErrNameTooLong},
    {EBADF, 6},
    {EFAULT, 14},
    {ENODEV, 15},
};

}  // namespace

int ErrorNumberFromPlatformCode(unsigned long code) {
  for (const ErrnoRow& row : kErrnoRows) {
    if (static_cast<unsigned long>(row.code) == code) return row.number;
  }
  return kErrInvalid;
}

}  // namespace nerbo
