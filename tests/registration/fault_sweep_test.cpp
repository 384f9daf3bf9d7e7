#include <gtest/gtest.h>

#include "registration/fault_sweep.h"

namespace nerbo {
namespace {

TEST_P(FaultSweep, AnInstallationFailingAtAnyChange) {
  for (const UserState& state : UserStates()) {
    SCOPED_TRACE(state.reason);
    RecordProperty(std::string("install_changes_") + state.reason, Sweep(state, Mode::kInstall));
  }
}

TEST_P(FaultSweep, AnUninstallationFailingAtAnyChange) {
  for (const UserState& state : UserStates()) {
    SCOPED_TRACE(state.reason);
    RecordProperty(std::string("uninstall_changes_") + state.reason, Sweep(state, Mode::kUninstall));
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, FaultSweep, testing::ValuesIn(DumpableBackends()), BackendName);

}  // namespace
}  // namespace nerbo
