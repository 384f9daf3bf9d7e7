#include "registry/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

#include "registry/registry_file_format.h"
#include "runtime/environment.h"
#include "runtime/file_descriptor.h"
#include "runtime/file_store.h"
#include "runtime/portable/ascii.h"
#include "runtime/working_directory.h"
#include "runtime/xdg_base_directory.h"

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

// The exclusive lock that writers take on a file beside the registry file; closing
// the descriptor lets go of it.
class WriterLock {
 public:
  // Creates the lock file (and the registry file's directories) when missing and
  // waits for the lock.
  long Acquire(const std::string& lock_path) {
    file_.Reset(open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!file_.is_open() && errno == ENOENT && MakeDirectories(DirectoryOf(lock_path)).done) {
      file_.Reset(open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    }
    if (!file_.is_open()) return kRegAccessDenied;
    while (flock(file_.get(), LOCK_EX) != 0) {
      if (errno != EINTR) {
        Release();
        return kRegAccessDenied;
      }
    }
    return kRegSuccess;
  }

  void Release() { file_.Close(); }
  bool held() const { return file_.is_open(); }

 private:
  FileDescriptor file_;
};

// Whether `key` is `above` or lies below it.
bool Below(const RegistryPath& key, const RegistryPath& above) {
  return key.root == above.root && above.names.size() <= key.names.size() &&
         std::equal(above.names.begin(), above.names.end(), key.names.begin(),
                    [](const std::string& a, const std::string& b) { return EqualsIgnoreCase(a, b); });
}

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
  // the reads so far asked for, built from the text read and checked once.
  // Reads only: it never creates the lock file or writes, so that a registry
  // file the user may only read serves every run.
  long ReadFile(RegistryTree* tree, const RegistryPath* key) {
    if (path_.empty())
      return Unreadable("no place for the registry file: neither NERBO_REGISTRY nor HOME is set");
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) {
      if (errno != ENOENT) return Unreadable(path_ + ": " + std::strerror(errno));
      *tree = RegistryTree();
      stamp_ = FileStamp();
      read_keys_.reset();
      ForgetText();
      return kRegSuccess;
    }
    if (!S_ISREG(st.st_mode)) return Unreadable(path_ + ": not a regular file");
    const bool same_file = stamp_ && *stamp_ == FileStamp::Of(st);
    if (same_file && Holds(key)) return kRegSuccess;
    if (!same_file) {
      long status = ReadText();
      if (status != kRegSuccess) return status;
    }
    if (key) {
      read_keys_->push_back(*key);
      text_.Build(&*read_keys_, tree);
    } else {
      // A writer has the whole tree: the text is not needed again.
      text_.Build(nullptr, tree);
      read_keys_.reset();
      ForgetText();
    }
    return kRegSuccess;
  }

  // Reads the file into bytes_ and checks it. Opened without blocking, so
  // that a FIFO put there after the stat cannot hold the run in open; the
  // fstat then refuses it. The file is read, not mapped: one that another
  // program cuts short meanwhile is then only a short text.
  long ReadText() {
    stamp_.reset();
    ForgetText();
    FileDescriptor file(open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!file.is_open() || fstat(file.get(), &st) != 0)
      return Unreadable(path_ + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return Unreadable(path_ + ": not a regular file");
    if (!bytes_.ReadToEnd(file.get())) return Unreadable(path_ + ": " + std::strerror(errno));
    RegistryFileError error;
    if (!text_.Check(bytes_.view(), &error))
      return Unreadable(path_ + ", line " + std::to_string(error.line) + ": " + error.message);
    stamp_ = FileStamp::Of(st);
    read_keys_.emplace();
    return kRegSuccess;
  }

  void ForgetText() {
    text_.Clear();
    bytes_.Clear();
  }

  // Whether the tree built last holds what a read of `key` needs.
  bool Holds(const RegistryPath* key) const {
    if (!read_keys_) return true;
    if (!key) return false;
    return std::any_of(read_keys_->begin(), read_keys_->end(), [key](const RegistryPath& held) {
      return held.names.size() == key->names.size() && Below(*key, held);
    });
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
    stamp_.reset();
    if (!ReplaceFile(path_, FormatRegistryFile(tree)).done) return false;
    struct stat st;
    if (stat(path_.c_str(), &st) == 0) stamp_ = FileStamp::Of(st);
    return true;
  }

  const std::string path_;
  const UnreadableRegistryHandler on_unreadable_;
  std::optional<FileStamp> stamp_;  // of the file *tree was read from; none when unknown
  // The keys *tree holds, built from text_ (the file's bytes as of stamp_,
  // checked); none when it holds the whole file.
  std::optional<std::vector<RegistryPath>> read_keys_;
  FileBytes bytes_;
  RegistryFileText text_;
  WriterLock unit_lock_;       // held from BeginChanges to the unit's end
  bool unit_changed_ = false;  // the unit changed the tree since it began
};

}  // namespace

std::string RegistryFilePathFromEnvironment() {
  std::string path;
  if (LookUpEnvironment("NERBO_REGISTRY", &path) && !path.empty()) {
    // A relative path names the file from where the tool started: the run
    // changes to the target's directory before it reads the settings.
    std::string directory;
    if (path[0] != '/' && GetWorkingDirectory(&directory, PATH_MAX)) path = directory + "/" + path;
    return path;
  }
  std::optional<std::string> config = XdgBaseDirectory("XDG_CONFIG_HOME", ".config");
  return config ? *config + "/nerbo/registry.reg" : "";
}

std::unique_ptr<TreeStorage> MakeRegistryFileStore(const std::string& path,
                                                   UnreadableRegistryHandler on_unreadable) {
  return std::make_unique<RegistryFileStore>(path, std::move(on_unreadable));
}

}  // namespace nerbo
