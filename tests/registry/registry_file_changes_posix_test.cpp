// The registry file as a unit of changes holds it, and the odd files a user's
// registry path can name.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/registry_file.h"
#include "support/file_contents.h"
#include "support/registry_dump.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

std::string ReadFile(const std::string& path) { return FileContents(path).value_or(""); }

ino_t InodeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class RegistryFileChanges : public testing::Test {
 protected:
  void SetUp() override {
    RegKey key = 0;
    auto registry = Open();
    ASSERT_EQ(registry->CreateKey(kClassesRoot, ".class", &key, nullptr), kRegSuccess);
    ASSERT_EQ(registry->SetValue(key, "", kRegSz, "OldClassType", 13), kRegSuccess);
    before_ = ReadFile(path_);
  }

  std::unique_ptr<Registry> Open() {
    return MakeDumpableRegistry(
        MakeRegistryFileStore(path_, [this](const std::string& message) { reports_.push_back(message); }));
  }

  // Twenty changes, as an install makes them.
  static void ChangeMuch(Registry& registry) {
    for (int i = 0; i < 10; ++i) {
      RegKey key = 0;
      std::string name = "Type" + std::to_string(i) + "\\Shell";
      ASSERT_EQ(registry.CreateKey(kClassesRoot, name.c_str(), &key, nullptr), kRegSuccess);
      ASSERT_EQ(registry.SetValue(key, "", kRegSz, "Run", 4), kRegSuccess);
    }
  }

  // Whether another process of the tool could take the writers' lock (on
  // the file beside `file`) now.
  bool LockIsFree(const std::string& file = "") const {
    int fd = open(((file.empty() ? path_ : file) + ".lock").c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return true;
    bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return free;
  }

  ScopedTempDir directory_;
  std::string path_ = directory_.path().string() + "/registry.reg";
  std::string before_;
  std::vector<std::string> reports_;
};

TEST_F(RegistryFileChanges, CommitWritesTheFileOnceAndOthersSeeNothingBefore) {
  auto registry = Open();
  ino_t inode = InodeOf(path_);
  ASSERT_EQ(registry->BeginChanges(), kRegSuccess);
  EXPECT_FALSE(LockIsFree()) << "the unit must keep other writers out";
  ChangeMuch(*registry);
  EXPECT_EQ(InodeOf(path_), inode) << "a change within the unit wrote the file";
  EXPECT_EQ(ReadFile(path_), before_);
  const std::string inside = DumpRegistry(*registry);

  ASSERT_EQ(registry->CommitChanges(), kRegSuccess);
  EXPECT_TRUE(LockIsFree());
  EXPECT_EQ(DumpRegistry(*Open()), inside);
  EXPECT_TRUE(reports_.empty());
}

// A unit is written when any of its changes changed something, also when the
// last one finds nothing to do (an uninstall whose uninstall entry is gone).
TEST_F(RegistryFileChanges, UnitWhoseLastChangeFindsNothingToDoIsWritten) {
  const struct {
    const char* what;
    void (*last)(Registry& registry);
  } cases[] = {
      {"KeyAlreadyGone", [](Registry& registry) { registry.DeleteKey(kClassesRoot, "Gone"); }},
      {"ValueAlreadyGone", [](Registry& registry) { registry.DeleteValue(kClassesRoot, "Gone"); }},
      {"KeyAlreadyThere",
       [](Registry& registry) {
         RegKey key = 0;
         registry.CreateKey(kClassesRoot, ".class", &key, nullptr);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto registry = Open();
    ASSERT_EQ(registry->BeginChanges(), kRegSuccess);
    RegKey key = 0;
    ASSERT_EQ(registry->CreateKey(kClassesRoot, c.what, &key, nullptr), kRegSuccess);
    c.last(*registry);
    ASSERT_EQ(registry->CommitChanges(), kRegSuccess);
    EXPECT_EQ(Open()->OpenKey(kClassesRoot, c.what, &key), kRegSuccess) << "the unit was not written";
  }
}

TEST_F(RegistryFileChanges, DiscardDropsTheChangesAndTheLock) {
  auto registry = Open();
  const std::string state = DumpRegistry(*registry);
  ASSERT_EQ(registry->BeginChanges(), kRegSuccess);
  ChangeMuch(*registry);
  registry->DiscardChanges();
  EXPECT_TRUE(LockIsFree());
  EXPECT_EQ(ReadFile(path_), before_);
  EXPECT_EQ(DumpRegistry(*registry), state) << "the registry still shows the discarded changes";
}

TEST_F(RegistryFileChanges, UnitStartsFromWhatAnotherWriterLeft) {
  auto mine = Open();
  RegKey key = 0;
  ASSERT_EQ(mine->OpenKey(kClassesRoot, ".class", &key), kRegSuccess);  // reads the file now
  ASSERT_EQ(Open()->SetValue(kClassesRoot, "Other", kRegSz, "x", 2), kRegSuccess);
  ASSERT_EQ(mine->BeginChanges(), kRegSuccess);
  ASSERT_EQ(mine->SetValue(key, "BackUp", kRegSz, "OldClassType", 13), kRegSuccess);
  ASSERT_EQ(mine->CommitChanges(), kRegSuccess);
  std::uint32_t size = 0;
  EXPECT_EQ(Open()->QueryValue(kClassesRoot, "Other", nullptr, nullptr, &size), kRegSuccess)
      << "the unit wrote over another writer's change";
}

// A write that fails (here: past the file size limit) leaves the old file,
// ends the unit and lets go of the lock.
TEST_F(RegistryFileChanges, FailedCommitLeavesTheOldFile) {
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {before_.size() + 8, before_.size() + 8};
    setrlimit(RLIMIT_FSIZE, &limit);
    auto registry = Open();
    if (registry->BeginChanges() != kRegSuccess) _exit(1);
    ChangeMuch(*registry);
    if (registry->CommitChanges() != kRegIoFailed) _exit(2);
    if (!LockIsFree()) _exit(3);
    std::uint32_t size = 0;
    RegKey key = 0;
    if (registry->OpenKey(kClassesRoot, "Type0", &key) != kRegFileNotFound) _exit(4);
    _exit(registry->QueryValue(kClassesRoot, nullptr, nullptr, nullptr, &size) == kRegFileNotFound ? 0 : 5);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(path_), before_);
}

TEST_F(RegistryFileChanges, ReadsCreateNoLockFile) {
  ASSERT_EQ(unlink((path_ + ".lock").c_str()), 0);
  auto registry = Open();
  RegKey key = 0;
  std::uint32_t subkeys = 0, size = 0;
  ASSERT_EQ(registry->OpenKeyToRead(kClassesRoot, ".class", &key), kRegSuccess);
  ASSERT_EQ(registry->QueryValue(key, "", nullptr, nullptr, &size), kRegSuccess);
  ASSERT_EQ(registry->QueryInfoKey(kClassesRoot, &subkeys, nullptr), kRegSuccess);
  registry->DiscardChanges();
  struct stat st;
  EXPECT_NE(stat((path_ + ".lock").c_str(), &st), 0);
}

// The file the user has is the one changed: a link stays a link, its target
// is locked and rewritten, the permission bits stay, and what is no regular
// file is refused unread.
TEST_F(RegistryFileChanges, LinkedFileIsRewrittenThroughTheLinkWithItsMode) {
  const std::string target = directory_.path().string() + "/real.reg";
  ASSERT_EQ(rename(path_.c_str(), target.c_str()), 0);
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  ASSERT_EQ(symlink("real.reg", path_.c_str()), 0);
  auto registry = Open();
  ASSERT_EQ(registry->BeginChanges(), kRegSuccess);
  EXPECT_FALSE(LockIsFree(target)) << "a writer through the target would not wait";
  ChangeMuch(*registry);
  ASSERT_EQ(registry->CommitChanges(), kRegSuccess);
  struct stat link_status, target_status;
  ASSERT_EQ(lstat(path_.c_str(), &link_status), 0);
  EXPECT_TRUE(S_ISLNK(link_status.st_mode));
  ASSERT_EQ(stat(target.c_str(), &target_status), 0);
  EXPECT_EQ(target_status.st_mode & 07777, 0600u);
  EXPECT_NE(ReadFile(target), before_);
}

TEST_F(RegistryFileChanges, WhatIsNoRegularFileIsRefusedUnread) {
  struct Case {
    const char* what;
    void (*make)(const std::string& path);
  };
  const Case cases[] = {
      {"FIFO", [](const std::string& path) { mkfifo(path.c_str(), 0600); }},
      {"link to /dev/zero", [](const std::string& path) { symlink("/dev/zero", path.c_str()); }},
      {"directory", [](const std::string& path) { mkdir(path.c_str(), 0700); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    path_ = directory_.path().string() + "/odd" + std::to_string(&c - cases) + ".reg";
    c.make(path_);
    reports_.clear();
    auto registry = Open();
    RegKey key = 0;
    EXPECT_EQ(registry->OpenKeyToRead(kClassesRoot, ".class", &key), kRegBadDb);
    EXPECT_EQ(registry->BeginChanges(), kRegBadDb);
    EXPECT_EQ(registry->CreateKey(kClassesRoot, ".class", &key, nullptr), kRegBadDb);
    ASSERT_FALSE(reports_.empty());
    EXPECT_NE(reports_[0].find("not a regular file"), std::string::npos) << reports_[0];
    struct stat st;
    ASSERT_EQ(lstat(path_.c_str(), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode)) << "replaced by a file";
    EXPECT_NE(lstat((path_ + ".lock").c_str(), &st), 0) << "a lock file was made beside it";
  }
}

// The run changes to the target's directory before it reads the settings:
// a relative location is fixed where the tool started.
TEST(RegistryFileLocation, RelativePathIsTakenFromTheStartingDirectory) {
  ScopedTempDir start;
  ScopedCurrentDirectory in(start.path());
  ScopedEnvironment location("NERBO_REGISTRY", "conf/mine.reg");
  char directory[PATH_MAX];
  ASSERT_NE(getcwd(directory, sizeof directory), nullptr);
  EXPECT_EQ(RegistryFilePathFromEnvironment(), std::string(directory) + "/conf/mine.reg");
}

}  // namespace
}  // namespace nerbo
