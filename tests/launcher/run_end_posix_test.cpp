// The end of a run as the program ends it (RunToEnd, with the end of the
// process stood in for), over the registry file: its message, the key wait,
// the unfinished changes let go of before the wait, the exit status.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "core/message_code.h"
#include "launcher/run_sequence.h"
#include "registry/registry_file.h"
#include "support/process_end.h"
#include "support/recording_console.h"
#include "support/refusing_registry.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

SpawnResult NoChild(const std::string&, const std::vector<std::string>&) { return SpawnResult{}; }

class RunEnd : public testing::Test {
 protected:
  ScopedTempDir temp_;
  ScopedCurrentDirectory in_temp_{temp_.path()};
  const std::string path_ = (temp_.path() / "registry.reg").string();
  RecordingConsole console_;
};

TEST_F(RunEnd, AnUnreadableRegistryFileEndsWithItsMessageAfterAKeyAndIsLeft) {
  temp_.Touch("Hello.class");
  const std::string corrupt = "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=wrong\n";
  std::ofstream(path_, std::ios::binary) << corrupt;
  const RunContext* running = nullptr;
  auto registry = std::make_unique<TreeBackedRegistry>(MakeRegistryFileStore(
      path_, [&running](const std::string& why) { EndOnUnreadableRegistry(*running, why); }));
  RunContext context(*registry, console_, HostConventions(), NoChild);
  running = &context;
  context.arguments = {"/opt/kit/bin/nerbo", "Hello.class"};
  console_.events = {KeyDown('A')};

  EXPECT_EQ(RunToStatus(context), kMsgRegistryUnreadable);
  EXPECT_NE(console_.err.find(path_ + ", line 3: "), std::string::npos) << console_.err;
  EXPECT_EQ(console_.events_read, 1u) << "the run waits for a key before it ends";
  std::ifstream file(path_, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), corrupt);
}

// The user may leave the window open: other runs must not wait for this one.
TEST_F(RunEnd, ARefusedInstallWaitsForItsKeyWithoutHoldingTheRegistryFile) {
  temp_.Touch(HostConventions().java_tool);
  auto file = std::make_unique<TreeBackedRegistry>(MakeRegistryFileStore(path_, nullptr));
  RefusingRegistry refusing(*file, kClassesRoot, Refusal::kOpening);
  RunContext context(refusing, console_, HostConventions(), NoChild);
  context.arguments = {"/opt/kit/bin/nerbo"};
  console_.events = {KeyDown('A')};
  bool lock_free = false;
  console_.at_key_wait = [&] {
    int fd = open((path_ + ".lock").c_str(), O_RDWR | O_CLOEXEC);
    lock_free = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) close(fd);
  };

  EXPECT_EQ(RunToStatus(context), kMsgRegistryWriteRefused);
  EXPECT_NE(console_.err.find("Installazione non eseguita"), std::string::npos) << console_.err;
  EXPECT_EQ(console_.events_read, 1u);
  EXPECT_TRUE(lock_free) << "the unit of changes is still open during the key wait";
}

}  // namespace
}  // namespace nerbo
