#include "runtime/registry_hive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "runtime/file_store.h"
#include "runtime/registry_hive_format.h"
#include "runtime/tree_backed_registry.h"

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
    return FileStamp{true,
                     st.st_dev,
                     st.st_ino,
                     st.st_size,
                     static_cast<long long>(st.st_mtim.tv_sec),
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
  HiveStorage(std::string path, UnreadableRegistryHandler on_unreadable)
      : path_(std::move(path)), lock_path_(path_ + ".lock"), on_unreadable_(std::move(on_unreadable)) {}

  long Load(RegistryTree* tree) override {
    if (path_.empty())
      return Unreadable("no place for the registry file: neither NERBO_REGISTRY nor HOME is set");
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
    int fd = open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && errno == ENOENT && !MakeDirectories(DirectoryOf(path_))) {
      fd = open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
    if (on_unreadable_)
      on_unreadable_("nerbo: cannot read the registry file " + why + " (the file was left as it is)");
    return kRegBadDb;
  }

  bool Store(const RegistryTree& tree) {
    if (ReplaceFile(path_, FormatHive(tree))) return false;
    struct stat st;
    if (stat(path_.c_str(), &st) == 0) {
      stamp_ = FileStamp::Of(st);
    } else {
      stamp_.reset();
    }
    return true;
  }

  const std::string path_;
  const std::string lock_path_;
  const UnreadableRegistryHandler on_unreadable_;
  std::optional<FileStamp> stamp_;  // of the file *tree was read from; none when unknown
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

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

std::unique_ptr<Registry> MakeHiveRegistry(const std::string& path, UnreadableRegistryHandler on_unreadable) {
  return std::make_unique<TreeBackedRegistry>(std::make_unique<HiveStorage>(path, std::move(on_unreadable)));
}

std::unique_ptr<Registry> MakeSystemRegistry(UnreadableRegistryHandler on_unreadable) {
  return MakeHiveRegistry(HivePathFromEnvironment(), std::move(on_unreadable));
}

}  // namespace nerbo
