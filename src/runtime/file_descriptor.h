// An open file descriptor that closes itself (Linux: the file store and the
// registry file's store and lock hold theirs in one).
#pragma once

#include <unistd.h>

namespace nerbo {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool is_open() const { return fd_ >= 0; }

  // Closes it now, so that a failure to close (a late write error) is seen;
  // true when nothing was open.
  bool Close() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

  // Holds `fd` instead, closing the one held before.
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }

 private:
  int fd_;
};

}  // namespace nerbo
