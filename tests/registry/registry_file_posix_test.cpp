#include "registry/registry_file.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/registry_file_format.h"
#include "support/file_contents.h"
#include "support/registry_dump.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

std::string ReadFile(const std::string& path) { return FileContents(path).value_or(""); }

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

class RegistryFile : public testing::Test {
 protected:
  std::unique_ptr<Registry> Open() {
    return MakeDumpableRegistry(
        MakeRegistryFileStore(path_, [this](const std::string& message) { reports_.push_back(message); }));
  }

  // Runs `body` in a child process that ends with status 0 unless the body
  // fails; returns the child's pid.
  template <typename Body>
  pid_t Fork(Body body) {
    pid_t pid = fork();
    if (pid == 0) {
      int status = body();
      _exit(status);
    }
    return pid;
  }

  static int ExitStatusOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  ScopedTempDir directory_;
  std::string root_ = directory_.path().string();
  std::string path_ = root_ + "/registry.reg";
  std::vector<std::string> reports_;
};

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The user's umask holds for what the registry file's first change makes.
TEST_F(RegistryFile, FirstChangeCreatesTheFileAndItsDirectories) {
  struct PrivateUmask {
    mode_t saved = umask(077);
    ~PrivateUmask() { umask(saved); }
  } private_umask;
  path_ = root_ + "/config/nerbo/registry.reg";
  auto registry = Open();
  RegKey key = 0;
  EXPECT_EQ(registry->OpenKey(kClassesRoot, ".class", &key), kRegFileNotFound);
  EXPECT_FALSE(Exists(root_ + "/config")) << "reading must not create anything";

  ASSERT_EQ(registry->CreateKey(kClassesRoot, ".class", &key, nullptr), kRegSuccess);
  EXPECT_EQ(ReadFile(path_), "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.class]\n");
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(ModeOf(path_), 0600u);
  EXPECT_EQ(ModeOf(path_ + ".lock"), 0600u);
  EXPECT_EQ(ModeOf(root_ + "/config"), 0700u);
  EXPECT_EQ(ModeOf(root_ + "/config/nerbo"), 0700u);
}

TEST_F(RegistryFile, LocationComesFromTheEnvironment) {
  struct Case {
    const char* registry;
    const char* config;
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {"/x/mine.reg", "/cfg", "/home/u", "/x/mine.reg"},
      {nullptr, "/cfg", "/home/u", "/cfg/nerbo/registry.reg"},
      {nullptr, nullptr, "/home/u", "/home/u/.config/nerbo/registry.reg"},
      {nullptr, "relative", "/home/u", "/home/u/.config/nerbo/registry.reg"},
      {nullptr, nullptr, "home/u", ""},
      {"", "", "", ""},
  };
  auto scoped = [](const char* name, const char* value) {
    return value ? std::make_unique<ScopedEnvironment>(name, value)
                 : std::make_unique<ScopedEnvironment>(name);
  };
  for (const Case& c : cases) {
    auto registry = scoped("NERBO_REGISTRY", c.registry);
    auto config = scoped("XDG_CONFIG_HOME", c.config);
    auto home = scoped("HOME", c.home);
    EXPECT_EQ(RegistryFilePathFromEnvironment(), c.expected);
  }
}

TEST_F(RegistryFile, EveryValueKindSurvivesAnotherProcessReadingIt) {
  struct Kind {
    const char* name;
    std::uint32_t type;
    std::string bytes;
  };
  const std::vector<Kind> kinds = {
      {"", kRegSz, std::string("Nerbo.exe", 10)},
      {"Run", kRegSz, "C:\\jdk\\bin\\java.exe"},
      {"Quoted", kRegSz, std::string("C:\\Nerbo.exe \"%1\" /ArgsToNerbo", 31)},
      {"Zeros", kRegSz, std::string("\0\0", 2)},
      {"Empty", kRegSz, ""},
      {"UninstallInfo", kRegDword, std::string("\x03\x00\x00\x00", 4)},
      {"Binary", 3, std::string("\x00\x01\xfe\xff\r\n", 6)},
      {"Odd \"name\" \\ here", 11, std::string(8, '\x7f')},
  };
  {
    auto writer = Open();
    RegKey key = 0;
    ASSERT_EQ(writer->CreateKey(kLocalMachine, "SOFTWARE\\Vesk\\Nerbo", &key, nullptr), kRegSuccess);
    for (const Kind& kind : kinds) {
      ASSERT_EQ(writer->SetValue(key, kind.name, kind.type, kind.bytes.data(),
                                 static_cast<std::uint32_t>(kind.bytes.size())),
                kRegSuccess);
    }
  }
  std::string text = ReadFile(path_);
  EXPECT_NE(text.find("\n@=\"Nerbo.exe\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n\"UninstallInfo\"=dword:00000003\n"), std::string::npos) << text;

  pid_t child = Fork([&] {
    auto reader = Open();
    RegKey key = 0;
    if (reader->OpenKey(kLocalMachine, "software\\vesk\\nerbo", &key) != kRegSuccess) return 1;
    for (const Kind& kind : kinds) {
      char buffer[64];
      std::uint32_t type = 0, size = sizeof buffer;
      if (reader->QueryValue(key, kind.name, &type, buffer, &size) != kRegSuccess) return 2;
      if (type != kind.type || std::string(buffer, size) != kind.bytes) return 3;
    }
    return 0;
  });
  EXPECT_EQ(ExitStatusOf(child), 0);
}

TEST_F(RegistryFile, ReadsSeeChangesOfAnotherRegistry) {
  auto first = Open();
  auto second = Open();
  RegKey key = 0;
  ASSERT_EQ(first->CreateKey(kClassesRoot, ".java", &key, nullptr), kRegSuccess);
  RegKey seen = 0;
  ASSERT_EQ(second->OpenKey(kClassesRoot, ".java", &seen), kRegSuccess);
  for (char round = '1'; round <= '3'; ++round) {
    const char data[2] = {round, '\0'};
    ASSERT_EQ(first->SetValue(key, "", kRegSz, data, 2), kRegSuccess);
    char buffer[8];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(second->QueryValue(seen, "", nullptr, buffer, &size), kRegSuccess);
    EXPECT_EQ(buffer[0], round);
  }
  ASSERT_EQ(first->DeleteKey(kClassesRoot, ".java"), kRegSuccess);
  std::uint32_t size = 0;
  EXPECT_EQ(second->QueryValue(seen, "", nullptr, nullptr, &size), kRegKeyDeleted);
  EXPECT_EQ(DumpRegistry(*first), DumpRegistry(*second));
}

// Every double click opens the settings key, which exists after an
// installation: that must not rewrite the file.
TEST_F(RegistryFile, OpeningExistingKeysLeavesTheFileUntouched) {
  RegKey key = 0;
  ASSERT_EQ(Open()->CreateKey(kLocalMachine, "SOFTWARE\\Vesk\\Nerbo", &key, nullptr), kRegSuccess);
  struct stat before;
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  const std::string bytes = ReadFile(path_);

  auto registry = Open();
  bool created = true;
  ASSERT_EQ(registry->CreateKey(kLocalMachine, "SOFTWARE\\Vesk\\Nerbo", &key, &created), kRegSuccess);
  EXPECT_FALSE(created);
  EXPECT_EQ(registry->OpenKey(kLocalMachine, "SOFTWARE\\Vesk", &key), kRegSuccess);
  struct stat after;
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
  EXPECT_EQ(ReadFile(path_), bytes);
}

TEST_F(RegistryFile, UnreadableRegistryFileIsReportedAndLeftAsItIs) {
  const std::string corrupt = "REGEDIT4\n[HKEY_CLASSES_ROOT\\.class]\n@=\"ClassFile.Nerbo\n\"Run\"=\"x\"\n";
  std::ofstream(path_, std::ios::binary) << corrupt;
  auto registry = Open();
  RegKey key = 0;
  const char data[] = "new";
  std::uint32_t size = 0;
  EXPECT_EQ(registry->CreateKey(kClassesRoot, ".class", &key, nullptr), kRegBadDb);
  EXPECT_EQ(registry->OpenKey(kClassesRoot, ".class", &key), kRegBadDb);
  EXPECT_EQ(registry->SetValue(kClassesRoot, "", kRegSz, data, sizeof data), kRegBadDb);
  EXPECT_EQ(registry->QueryValue(kClassesRoot, "", nullptr, nullptr, &size), kRegBadDb);
  EXPECT_EQ(registry->DeleteKey(kClassesRoot, ".class"), kRegBadDb);
  EXPECT_EQ(ReadFile(path_), corrupt);
  ASSERT_EQ(reports_.size(), 5u);
  EXPECT_NE(reports_[0].find(path_ + ", line 3: "), std::string::npos) << reports_[0];
}

TEST_F(RegistryFile, ConcurrentWritersLoseNoUpdate) {
  constexpr int kValuesEach = 150;
  {
    auto registry = Open();
    RegKey key = 0;
    ASSERT_EQ(registry->CreateKey(kLocalMachine, "Shared", &key, nullptr), kRegSuccess);
  }
  auto writer = [this](char prefix) {
    return Fork([this, prefix] {
      auto registry = Open();
      RegKey key = 0;
      if (registry->OpenKey(kLocalMachine, "Shared", &key) != kRegSuccess) return 1;
      for (int i = 0; i < kValuesEach; ++i) {
        std::string name = prefix + std::to_string(i);
        if (registry->SetValue(key, name.c_str(), kRegSz, name.c_str(),
                               static_cast<std::uint32_t>(name.size() + 1)) != kRegSuccess)
          return 2;
        RegKey sub = 0;
        if (i % 10 == 0 && registry->CreateKey(key, name.c_str(), &sub, nullptr) != kRegSuccess) return 3;
      }
      return 0;
    });
  };
  pid_t a = writer('a');
  pid_t b = writer('b');
  EXPECT_EQ(ExitStatusOf(a), 0);
  EXPECT_EQ(ExitStatusOf(b), 0);

  auto registry = Open();
  RegKey key = 0;
  ASSERT_EQ(registry->OpenKey(kLocalMachine, "Shared", &key), kRegSuccess);
  for (char prefix : {'a', 'b'}) {
    for (int i = 0; i < kValuesEach; ++i) {
      std::string name = prefix + std::to_string(i);
      char buffer[16];
      std::uint32_t size = sizeof buffer;
      ASSERT_EQ(registry->QueryValue(key, name.c_str(), nullptr, buffer, &size), kRegSuccess) << name;
      EXPECT_EQ(std::string(buffer), name);
    }
  }
  std::uint32_t subkeys = 0;
  ASSERT_EQ(registry->QueryInfoKey(key, &subkeys, nullptr), kRegSuccess);
  EXPECT_EQ(subkeys, 2u * kValuesEach / 10);
}

// Step k of the burst sets value "v<k mod 16>" to Payload(k), so the state
// after k steps is known exactly from k.
constexpr int kSlots = 16;

std::string Payload(std::uint32_t step) {
  std::string bytes(reinterpret_cast<const char*>(&step), 4);
  for (std::uint32_t i = 0; i < 40 + step * 37 % 100; ++i) bytes.push_back(static_cast<char>(step * 31 + i));
  return bytes;
}

// The number of steps the registry file holds, or -1 when it holds anything but
// the state after some number of steps.
long StepsHeldBy(const std::string& text) {
  RegistryTree tree;
  RegistryFileError error;
  if (!ParseRegistryFile(text, &tree, &error)) return -1;
  RegistryNode* burst = tree.local_machine.FindSubkey("Burst");
  if (!burst) return -1;
  std::uint32_t steps = 0;
  for (const RegistryValue& value : burst->values) {
    if (value.data.size() < 4) return -1;
    std::uint32_t step = 0;
    std::memcpy(&step, value.data.data(), 4);
    steps = std::max(steps, step);
  }
  if (burst->values.size() != std::min<std::size_t>(steps, kSlots)) return -1;
  for (std::uint32_t step = steps > kSlots ? steps - kSlots + 1 : 1; step <= steps; ++step) {
    const RegistryValue* value = burst->FindValue("v" + std::to_string(step % kSlots));
    if (!value || value->type != 3 || value->data != Payload(step)) return -1;
  }
  return steps;
}

TEST_F(RegistryFile, KilledWriterLeavesTheOldOrTheNewState) {
  {
    auto registry = Open();
    RegKey key = 0;
    ASSERT_EQ(registry->CreateKey(kLocalMachine, "Burst", &key, nullptr), kRegSuccess);
  }
  std::mt19937 random(12345);
  long steps = 0;
  int rounds = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(12);
  for (int round = 0; round < 300 && std::chrono::steady_clock::now() < deadline; ++round) {
    pid_t child = Fork([this, steps] {
      auto registry = Open();
      RegKey key = 0;
      if (registry->OpenKey(kLocalMachine, "Burst", &key) != kRegSuccess) return 1;
      for (std::uint32_t step = static_cast<std::uint32_t>(steps) + 1;; ++step) {
        std::string name = "v" + std::to_string(step % kSlots);
        std::string payload = Payload(step);
        if (registry->SetValue(key, name.c_str(), 3, payload.data(),
                               static_cast<std::uint32_t>(payload.size())) != kRegSuccess)
          return 2;
      }
    });
    usleep(std::uniform_int_distribution<useconds_t>(0, 15000)(random));
    kill(child, SIGKILL);
    ASSERT_EQ(ExitStatusOf(child), 128 + SIGKILL) << "the writer failed before it was killed";
    ++rounds;
    long now = StepsHeldBy(ReadFile(path_));
    ASSERT_GE(now, steps) << "round " << round
                          << ": the registry file holds neither the old nor a newer state";
    steps = now;
  }
  EXPECT_GT(steps, 0);
  std::printf("[          ] %d writers killed, %ld changes kept\n", rounds, steps);
}

}  // namespace
}  // namespace nerbo
