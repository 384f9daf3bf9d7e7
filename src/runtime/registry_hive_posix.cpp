#include "runtime/registry_hive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "runtime/registry_hive_format.h"
#include "runtime/tree_registry.h"

namespace nerbo {
namespace {

// What a stat tells of the hive (or that it is missing): a new inode, size or modification time
// means another process replaced it since we last read it.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long seconds = 0;
  long nanoseconds = 0;

  static FileStamp Of(const struct stat& st) {
    return FileStamp{true, st.st_dev, st.st_ino, st.st_size, static_cast<long long>(st.st_mtim.tv_sec),
                     st.st_mtim.tv_nsec};
  }
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           seconds == other.seconds && nanoseconds == other.nanoseconds;
  }
};

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void MakeDirectories(const std::string& directory) {
  for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
    mkdir(directory.substr(0, slash).c_str(), 0700);
    if (slash == std::string::npos) return;
  }
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, std::string* text) {
  char buffer[16384];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    text->append(buffer, static_cast<std::size_t>(n));
  }
}

class HiveStorage final : public TreeStorage {
 public:
  HiveStorage(std::string path, UnreadableHiveHandler onUnreadable)
      : path_(std::move(path)), lockPath_(path_ + ".lock"), onUnreadable_(std::move(onUnreadable)) {}

  long Load(RegistryTree* tree) override {
    if (path_.empty()) return Unreadable("no place for the registry file: neither NERBO_REGISTRY nor HOME is set");
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) {
      if (errno != ENOENT) return Unreadable(path_ + ": " + std::strerror(errno));
      *tree = RegistryTree();
      stamp_ = FileStamp();
      return kRegSuccess;
    }
    if (stamp_ && *stamp_ == FileStamp::Of(st)) return kRegSuccess;

    FileDescriptor file(open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    std::string text;
    if (file.get() < 0 || fstat(file.get(), &st) != 0 || !ReadAll(file.get(), &text))
      return Unreadable(path_ + ": " + std::strerror(errno));
    RegistryTree parsed;
    HiveError error;
    if (!ParseHive(text, &parsed, &error))
      return Unreadable(path_ + ", line " + std::to_string(error.line) + ": " + error.message);
    *tree = std::move(parsed);
    stamp_ = FileStamp::Of(st);
    return kRegSuccess;
  }

  long Update(RegistryTree* tree, const std::function<long(bool* changed)>& change) override {
    if (path_.empty()) return Load(tree);
    int fd = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && errno == ENOENT) {
      MakeDirectories(DirectoryOf(path_));
      fd = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    FileDescriptor lock(fd);
    if (lock.get() < 0) return kRegAccessDenied;
    while (flock(lock.get(), LOCK_EX) != 0) {
      if (errno != EINTR) return kRegAccessDenied;
    }
    long status = Load(tree);
    if (status != kRegSuccess) return status;
    bool changed = false;
    status = change(&changed);
    if (status != kRegSuccess || !changed) return status;
    if (!Store(*tree)) {
      // The tree in memory is ahead of the file now; read the file again.
      stamp_.reset();
      return kRegIoFailed;
    }
    return kRegSuccess;
  }

 private:
  long Unreadable(const std::string& why) {
    stamp_.reset();  // so that the next call reads the file again
    onUnreadable_("nerbo: cannot read the registry file " + why + " (the file was left as it is)");
    return kRegBadDb;
  }

  // Writes the whole tree beside the hive, syncs it, renames it over the
  // hive and syncs the directory, so that the rename itself is durable.
  bool Store(const RegistryTree& tree) {
    std::string temporary = path_ + ".tmp";
    struct stat st;
    bool written = false;
    {
      FileDescriptor file(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
      written = file.get() >= 0 && WriteAll(file.get(), FormatHive(tree)) && fsync(file.get()) == 0 &&
                fstat(file.get(), &st) == 0;
    }
    if (!written || rename(temporary.c_str(), path_.c_str()) != 0) {
      unlink(temporary.c_str());
      return false;
    }
    stamp_ = FileStamp::Of(st);
    // The new hive is in place once renamed; syncing the directory makes the
    // rename itself survive a power cut, and its failure undoes nothing.
    FileDescriptor directory(open(DirectoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) fsync(directory.get());
    return true;
  }

  const std::string path_;
  const std::string lockPath_;
  const UnreadableHiveHandler onUnreadable_;
  std::optional<FileStamp> stamp_;  // of the file *tree was read from; none when unknown
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

void ExitOnUnreadableHive(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::exit(kUnreadableHiveExitStatus);
}

std::string HivePathFromEnvironment() {
  std::string path = Environment("NERBO_REGISTRY");
  if (!path.empty()) return path;
  std::string config = Environment("XDG_CONFIG_HOME");
  // Relative values are to be ignored, as the XDG base directory rules say.
  if (config.empty() || config[0] != '/') {
    std::string home = Environment("HOME");
    if (home.empty()) return "";
    config = home + "/.config";
  }
  return config + "/nerbo/registry.reg";
}

std::unique_ptr<Registry> MakeHiveRegistry(const std::string& path, UnreadableHiveHandler onUnreadable) {
  return std::make_unique<TreeRegistry>(std::make_unique<HiveStorage>(path, std::move(onUnreadable)));
}

std::unique_ptr<Registry> MakeSystemRegistry() { return MakeHiveRegistry(HivePathFromEnvironment(), ExitOnUnreadableHive); }

}  // namespace nerbo
