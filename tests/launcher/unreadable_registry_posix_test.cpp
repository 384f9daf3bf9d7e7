// A registry file that cannot be read ends the run like every other failure:
// through the one handler, with its message, a key wait and its own status.
#include <gtest/gtest.h>

#include <fstream>

#include "core/message_code.h"
#include "launcher/run_sequence.h"
#include "runtime/registry_hive.h"
#include "support/recording_console.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

SpawnResult NoChild(const std::string&, const std::vector<std::string>&) { return SpawnResult{}; }

TEST(UnreadableRegistry, EndsTheRunWithItsMessageAfterAKeyAndLeavesTheFile) {
  ScopedTempDir temp;
  ScopedCurrentDirectory in_temp(temp.path());
  temp.Touch("Hello.class");
  const std::string path = (temp.path() / "registry.reg").string();
  const std::string corrupt = "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=wrong\n";
  std::ofstream(path, std::ios::binary) << corrupt;

  RecordingConsole console;
  auto registry =
      MakeHiveRegistry(path, [&console](const std::string& why) { EndOnUnreadableRegistry(console, why); });
  RunContext context(*registry, console, HostConventions(), NoChild);
  context.arguments = {"/opt/kit/bin/nerbo", "Hello.class"};
  console.events = {KeyDown('A')};

  EXPECT_EQ(EndRun(context, RunToMessageCode(context)), kMsgRegistryUnreadable);
  EXPECT_NE(console.err.find(path + ", line 3: "), std::string::npos) << console.err;
  EXPECT_EQ(console.events_read, 1u) << "the run waits for a key before it ends";
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), corrupt);
}

}  // namespace
}  // namespace nerbo
