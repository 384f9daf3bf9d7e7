#include "registry/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "registry/registry_file_format.h"
#include "registry/tree_backed_registry.h"
#include "runtime/file_store.h"
#include "runtime/portable/ascii.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

// What a stat tells of the registry file (or that it is missing): a new inode, size or modification time
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

// A file's bytes, read into memory that is never filled before and that
// the system hands over with its pages in place (MAP_POPULATE): for a large
// file, the page faults of a new buffer, one per page, cost a run more than
// the read itself, and filling it first as much again.
class FileText {
 public:
  FileText() = default;
  ~FileText() { Clear(); }
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;

  // Reads the file, `expected` bytes (its size when it was opened) in one
  // go when it has not grown since.
  bool Read(int fd, std::size_t expected) {
    Clear();
    if (!Grow(expected + 1)) return false;  // a byte more, to see the end in the same read
    for (;;) {
      if (size_ == capacity_ && !Grow(2 * capacity_)) return false;
      ssize_t n = read(fd, bytes_ + size_, capacity_ - size_);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      size_ += static_cast<std::size_t>(n);
    }
  }
  std::string_view view() const { return std::string_view(bytes_, size_); }
  void Clear() {
    if (bytes_) munmap(bytes_, capacity_);
    bytes_ = nullptr;
    size_ = capacity_ = 0;
  }

 private:
  // Moves the bytes read so far to new memory of `capacity` bytes.
  bool Grow(std::size_t capacity) {
    void* memory =
        mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED) return false;
    char* bytes = static_cast<char*>(memory);
    const std::size_t size = size_;
    if (size > 0) std::memcpy(bytes, bytes_, size);
    Clear();
    bytes_ = bytes;
    size_ = size;
    capacity_ = capacity;
    return true;
  }

  char* bytes_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The exclusive lock that writers take on a file beside the registry file; closing
// the descriptor lets go of it.
class WriterLock {
 public:
  WriterLock() = default;
  ~WriterLock() { Release(); }
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

  // Creates the lock file (and the registry file's directories) when missing and
  // waits for the lock.
  long Acquire(const std::string& lock_path) {
    fd_ = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0 && errno == ENOENT && !MakeDirectories(DirectoryOf(lock_path))) {
      fd_ = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    if (fd_ < 0) return kRegAccessDenied;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        Release();
        return kRegAccessDenied;
      }
    }
    return kRegSuccess;
  }

  void Release() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

class RegistryFileStore final : public TreeStorage {
 public:
  RegistryFileStore(std::string path, UnreadableRegistryHandler on_unreadable)
      : path_(std::move(path)), on_unreadable_(std::move(on_unreadable)) {}

  long Load(RegistryTree* tree, const RegistryPath* key) override {
    // Within a unit the tree in memory is the registry: it was read under
    // the lock and holds the changes not yet committed.
    if (unit_lock_.held()) return kRegSuccess;
    return ReadFile(tree, key);
  }

  long Update(RegistryTree* tree, const std::function<long(bool* changed)>& change) override {
    // A change outside a unit is a unit of its own: the one lock, which the
    // end of a run lets go of, is the only one ever held.
    if (!unit_lock_.held()) {
      long status = BeginChanges(tree);
      if (status == kRegSuccess) status = Update(tree, change);
      if (status != kRegSuccess) {
        DiscardChanges(tree);
        return status;
      }
      return CommitChanges(tree);
    }
    bool changed = false;
    long status = change(&changed);
    unit_changed_ = unit_changed_ || changed;
    return status;
  }

  long BeginChanges(RegistryTree* tree) override {
    if (unit_lock_.held()) return kRegSuccess;
    if (path_.empty() || IsNoRegularFile()) return ReadFile(tree, nullptr);
    long status = unit_lock_.Acquire(LockPath());
    if (status != kRegSuccess) return status;
    status = ReadAfresh(tree);
    if (status != kRegSuccess) unit_lock_.Release();
    unit_changed_ = false;
    return status;
  }

  long CommitChanges(RegistryTree* tree) override {
    if (!unit_lock_.held()) return kRegSuccess;
    const bool stored = !unit_changed_ || Store(*tree);
    unit_changed_ = false;
    unit_lock_.Release();
    return stored ? kRegSuccess : kRegIoFailed;
  }

  void DiscardChanges(RegistryTree*) override {
    if (!unit_lock_.held()) return;
    // The tree holds changes the file does not: the next read takes the file.
    if (unit_changed_) stamp_.reset();
    unit_changed_ = false;
    unit_lock_.Release();
  }

 private:
  // Brings *tree up to the file: the whole of it, or (with `key`) the keys
  // the reads so far asked for. Reads only: it never creates the lock file
  // or writes, so that a registry file the user may only read serves every
  // run. Anything but a regular file is refused before it is read.
  long ReadFile(RegistryTree* tree, const RegistryPath* key) {
    if (path_.empty())
      return Unreadable("no place for the registry file: neither NERBO_REGISTRY nor HOME is set");
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) {
      if (errno != ENOENT) return Unreadable(path_ + ": " + std::strerror(errno));
      *tree = RegistryTree();
      stamp_ = FileStamp();
      focus_.reset();
      return kRegSuccess;
    }
    if (!S_ISREG(st.st_mode)) return Unreadable(path_ + ": not a regular file");
    const bool same_file = stamp_ && *stamp_ == FileStamp::Of(st);
    if (same_file && Holds(key)) return kRegSuccess;
    if (!key) {
      focus_.reset();
    } else if (focus_ || !stamp_) {
      if (!focus_) focus_.emplace();
      // A run opens its keys one level at a time: the sections of a key
      // below one it read are among those already found.
      focus_->only_sections =
          same_file && std::any_of(focus_->keys.begin(), focus_->keys.end(),
                                   [key](const RegistryPath& held) { return Below(*key, held); });
      focus_->keys.push_back(*key);
      focus_->text_checked = same_file;
    }

    // A reader that asks for one more key parses again the text it read.
    if (!(same_file && focus_)) {
      // Without blocking, so that a FIFO put there after the stat cannot
      // hold the run in open; the fstat then refuses it.
      FileDescriptor file(open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
      if (file.get() < 0 || fstat(file.get(), &st) != 0)
        return Unreadable(path_ + ": " + std::strerror(errno));
      if (!S_ISREG(st.st_mode)) return Unreadable(path_ + ": not a regular file");
      if (!text_.Read(file.get(), static_cast<std::size_t>(st.st_size)))
        return Unreadable(path_ + ": " + std::strerror(errno));
    }
    RegistryTree parsed;
    RegistryFileError error;
    if (!ParseRegistryFile(text_.view(), &parsed, &error, focus_ ? &*focus_ : nullptr))
      return Unreadable(path_ + ", line " + std::to_string(error.line) + ": " + error.message);
    *tree = std::move(parsed);
    stamp_ = FileStamp::Of(st);
    // Only a reader keeps the text; a writer has the whole tree.
    if (!focus_) text_.Clear();
    return kRegSuccess;
  }

  // Whether the tree read last holds what a read of `key` needs.
  bool Holds(const RegistryPath* key) const {
    if (!focus_) return true;
    if (!key) return false;
    return std::any_of(focus_->keys.begin(), focus_->keys.end(), [key](const RegistryPath& held) {
      return held.names.size() == key->names.size() && Below(*key, held);
    });
  }

  // Whether `key` is `above` or lies below it.
  static bool Below(const RegistryPath& key, const RegistryPath& above) {
    return key.root == above.root && above.names.size() <= key.names.size() &&
           std::equal(above.names.begin(), above.names.end(), key.names.begin(),
                      [](const std::string& a, const std::string& b) { return EqualsIgnoreCase(a, b); });
  }

  // A FIFO, device or directory in the file's place: refused by ReadFile
  // before a lock file is made beside it.
  bool IsNoRegularFile() const {
    struct stat st;
    return stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
  }

  // The lock file beside the file a write replaces, so that every name of
  // the registry file (a link, its target) takes the same lock.
  std::string LockPath() const { return ReplacedFile(path_).value_or(path_) + ".lock"; }

  // The whole file read again, for a writer that holds the lock: a stamp can
  // match a file that another process wrote within the same tick of the file
  // system's clock, on an inode number freed and given out again.
  long ReadAfresh(RegistryTree* tree) {
    stamp_.reset();
    return ReadFile(tree, nullptr);
  }

  long Unreadable(const std::string& why) {
    stamp_.reset();  // so that the next call reads the file again
    if (on_unreadable_)
      on_unreadable_("nerbo: cannot read the registry file " + why + " (the file was left as it is)");
    return kRegBadDb;
  }

  // Writes the tree over the file. On failure the file stays as it was and
  // the tree, ahead of it now, is read again by the next call.
  bool Store(const RegistryTree& tree) {
    if (ReplaceFile(path_, FormatRegistryFile(tree))) {
      stamp_.reset();
      return false;
    }
    struct stat st;
    if (stat(path_.c_str(), &st) == 0) {
      stamp_ = FileStamp::Of(st);
    } else {
      stamp_.reset();
    }
    return true;
  }

  const std::string path_;
  const UnreadableRegistryHandler on_unreadable_;
  std::optional<FileStamp> stamp_;          // of the file *tree was read from; none when unknown
  std::optional<RegistryFileFocus> focus_;  // the keys *tree holds; none when it holds the whole file
  FileText text_;                           // the file's text as of stamp_, kept while focus_ is
  WriterLock unit_lock_;                    // held from BeginChanges to the unit's end
  bool unit_changed_ = false;               // the unit changed the tree since it began
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string RegistryFilePathFromEnvironment() {
  std::string path = Environment("NERBO_REGISTRY");
  // A relative path names the file from where the tool started: the run
  // changes to the target's directory before it reads the settings.
  std::string directory;
  if (!path.empty() && path[0] != '/' && GetWorkingDirectory(&directory, PATH_MAX))
    path = directory + "/" + path;
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

std::unique_ptr<Registry> MakeRegistryFile(const std::string& path, UnreadableRegistryHandler on_unreadable) {
  return std::make_unique<TreeBackedRegistry>(
      std::make_unique<RegistryFileStore>(path, std::move(on_unreadable)));
}

}  // namespace nerbo
