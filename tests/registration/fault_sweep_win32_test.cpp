// The fault sweep over the real registry of Windows (under Wine, the prefix
// of the build tree), and an installation that finds the user's `.class` key
// readable only.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/message_code.h"
#include "registration/fault_sweep.h"
#include "registration/registry_snapshot_win32.h"
#include "registration/scoped_read_only_key_win32.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

class WineFaultSweep : public FaultSweep {
 protected:
  ~WineFaultSweep() override { StartAfresh(); }

  std::string Snapshot() override { return SnapshotRegistrationKeys(); }

  // The real registry cannot be swapped for a fresh one: the sweep's keys go.
  void StartAfresh() override { RemoveRegistrationKeys(registry()); }

  // A standard user finds the machine's keys readable only.
  int RunAs(const std::function<int(Registry&)>& run) override {
    if (!scope_.ForUser()) return run(registry());
    ScopedReadOnlyKey software(HKEY_LOCAL_MACHINE, "SOFTWARE");
    ScopedReadOnlyKey classes(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes");
    return run(registry());
  }
};

TEST_P(WineFaultSweep, AnInstallationOrUninstallationFailingAtAnyChange) {
  for (const UserState& state : UserStates()) {
    SCOPED_TRACE(state.reason);
    RecordProperty(std::string("install_changes_") + state.reason, Sweep(state, Mode::kInstall));
    RecordProperty(std::string("uninstall_changes_") + state.reason, Sweep(state, Mode::kUninstall));
  }
}

TEST_P(WineFaultSweep, AReadOnlyClassKeyEndsTheInstallationAndKeepsTheUsersType) {
  PutKit();
  const UserState& state = UserStates().front();
  state.seed(registry());
  std::string before = Snapshot();
  {
    ScopedReadOnlyKey read_only(HKEY_CLASSES_ROOT, ".class");
    EXPECT_EQ(Install(), kMsgRegistryWriteRefused);
    EXPECT_NE(console_.err.find("HKEY_CLASSES_ROOT\\.class: Permission denied"), std::string::npos)
        << console_.err;
  }
  std::optional<StoredValue> named = Value(kClassesRoot, ".class", "");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->bytes, Sz("userclass"));
  EXPECT_FALSE(Value(kClassesRoot, ".class", "BackUp"));
  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Advapi32, WineFaultSweep, testing::Values(SystemRegistryBackend()), BackendName);

}  // namespace
}  // namespace nerbo
