#include "runtime/file_store.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "runtime/error_number.h"
#include "runtime/file_descriptor.h"

namespace nerbo {
namespace {

FileResult Failure(const std::string& path, int code = errno) {
  return FileResult{false, path, ErrorNumberFromPlatformCode(static_cast<unsigned long>(code))};
}

bool MakeDirectoryTree(const std::string& directory) {
  struct stat status;
  if (stat(directory.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
  std::string parent = DirectoryOf(directory);
  if (parent != directory && !MakeDirectoryTree(parent)) return false;
  return mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// `mode` as open() would give it a new file, under the process's umask.
mode_t NewFileMode(unsigned mode) {
  mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(mode) & ~mask;
}

// The new file or link is in place once renamed; syncing the directory
// makes the rename itself survive a power cut, and its failure undoes nothing.
void SyncDirectory(const std::string& directory) {
  FileDescriptor directory_file(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory_file.get() >= 0) fsync(directory_file.get());
}

// Enough tries for a new link's name to get past the leftovers of writers
// that stopped half way.
constexpr int kTemporaryNameTries = 100;

}  // namespace

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> ReplacedFile(const std::string& path) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) != nullptr) return std::string(resolved);
  if (errno != ENOENT) return std::nullopt;
  // A dangling link: its target is written anew where the link points.
  char target[PATH_MAX];
  ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
  if (length <= 0) return std::nullopt;
  std::string text(target, static_cast<std::size_t>(length));
  return text[0] == '/' ? text : DirectoryOf(path) + "/" + text;
}

bool FileBytes::ReadToEnd(int fd) {
  Clear();
  struct stat status;
  const std::size_t expected =
      fstat(fd, &status) == 0 && status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
  // A byte more than the file holds, so that the read that finds the end is
  // the second, not a third after growing.
  if (!Grow(expected + 1)) return false;
  for (;;) {
    if (size_ == capacity_ && !Grow(2 * capacity_)) return false;
    ssize_t count = read(fd, bytes_ + size_, capacity_ - size_);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) return true;
    size_ += static_cast<std::size_t>(count);
  }
}

void FileBytes::Clear() {
  if (bytes_) munmap(bytes_, capacity_);
  bytes_ = nullptr;
  size_ = capacity_ = 0;
}

bool FileBytes::Grow(std::size_t capacity) {
  void* memory =
      mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (memory == MAP_FAILED) return false;
  const std::size_t size = size_;
  if (size > 0) std::memcpy(memory, bytes_, size);
  Clear();
  bytes_ = static_cast<char*>(memory);
  size_ = size;
  capacity_ = capacity;
  return true;
}

FileResult ReadWholeFile(const std::string& path, std::optional<std::string>* bytes) {
  bytes->reset();
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.is_open()) return errno == ENOENT ? FileResult{} : Failure(path);
  FileBytes read;
  if (!read.ReadToEnd(file.get())) return Failure(path);
  *bytes = std::string(read.view());
  return {};
}

FileResult ReplaceFile(const std::string& path, const std::string& bytes, unsigned new_file_mode) {
  std::optional<std::string> target = ReplacedFile(path);
  if (!target) return Failure(path);
  std::string directory = DirectoryOf(*target);
  FileResult directories = MakeDirectories(directory);
  if (!directories.done) return directories;

  std::string temporary = *target + ".XXXXXX";
  FileDescriptor file(mkostemp(&temporary[0], O_CLOEXEC));
  if (!file.is_open()) return Failure(temporary);
  struct stat old_status;
  mode_t mode =
      stat(target->c_str(), &old_status) == 0 ? (old_status.st_mode & 07777) : NewFileMode(new_file_mode);
  bool written = fchmod(file.get(), mode) == 0 && WriteAll(file.get(), bytes) && fsync(file.get()) == 0;
  int code = errno;
  if (!file.Close() && written) {
    written = false;
    code = errno;
  }
  if (written && rename(temporary.c_str(), target->c_str()) != 0) {
    written = false;
    code = errno;
  }
  if (!written) {
    unlink(temporary.c_str());
    return Failure(*target, code);
  }
  SyncDirectory(directory);
  return {};
}

FileResult ReplaceLink(const std::string& path, const std::string& target) {
  const std::string directory = DirectoryOf(path);
  FileResult directories = MakeDirectories(directory);
  if (!directories.done) return directories;
  std::string temporary;
  for (int attempt = 0;; ++attempt) {
    temporary = path + ".link-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    if (symlink(target.c_str(), temporary.c_str()) == 0) break;
    if (errno != EEXIST || attempt + 1 == kTemporaryNameTries) return Failure(temporary);
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int code = errno;
    unlink(temporary.c_str());
    return Failure(path, code);
  }
  SyncDirectory(directory);
  return {};
}

FileResult MakeDirectories(const std::string& directory) {
  if (MakeDirectoryTree(directory)) return {};
  return Failure(directory);
}

FileResult RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return {};
  return Failure(path);
}

void RemoveDirectoryIfEmpty(const std::string& path) { rmdir(path.c_str()); }

}  // namespace nerbo
