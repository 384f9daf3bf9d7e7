#include "registration/fault_sweep.h"

#include "core/message_code.h"
#include "support/faulting_registry.h"

namespace nerbo {
namespace {

// Keys the user's machine has anyway, which an uninstallation leaves.
void OtherSoftware(Registry& registry) {
  SeedIn(registry, kLocalMachine, "SOFTWARE\\Vesk\\Other", "", Sz("another tool"));
  SeedIn(registry, kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OtherApp",
         "DisplayName", Sz("Other App"));
}

void UserClassType(Registry& registry) {
  SeedIn(registry, kClassesRoot, ".class", "", Sz("userclass"));
  SeedIn(registry, kClassesRoot, "userclass", "", Sz("Classe dell'utente"));
  SeedIn(registry, kClassesRoot, "userclass\\Shell\\open\\command", "", Sz("viewer.exe %1"));
}

// An expandable text, as Windows keeps its own commands.
void UserSourceType(Registry& registry) {
  SeedIn(registry, kClassesRoot, ".java", "", Sz("usersource"));
  SeedIn(registry, kClassesRoot, ".java", "Content Type", Sz("text/plain"));
  SeedIn(registry, kClassesRoot, "usersource", "", Sz("Sorgente Java"));
  SeedIn(registry, kClassesRoot, "usersource\\Shell\\Edit\\command", "", Sz("%SystemRoot%\\edit.exe /e %1"),
         2);
}

// A runtime's jar type, whose double click starts a windowed program.
void UserArchiveType(Registry& registry) {
  SeedIn(registry, kClassesRoot, ".jar", "", Sz("userjar"));
  SeedIn(registry, kClassesRoot, "userjar", "", Sz("Archivio dell'utente"));
  SeedIn(registry, kClassesRoot, "userjar\\Shell\\open\\command", "", Sz("javaw.exe -jar \"%1\" %*"));
}

}  // namespace

std::vector<UserState> UserStates() {
  return {
      // `Shell` keeps the user's verbs, default verb and Edit command; the
      // jar type its double click.
      {"TypeWithOtherVerbs",
       [](Registry& r) {
         OtherSoftware(r);
         UserClassType(r);
         UserSourceType(r);
         UserArchiveType(r);
         SeedIn(r, kClassesRoot, "usersource\\Shell", "", Sz("open"));
         SeedIn(r, kClassesRoot, "usersource\\Shell\\open\\command", "", Sz("write.exe %1"));
       }},
      // `Shell` holds only Edit: it becomes the tool's, with the default verb;
      // `.jar` names nothing yet.
      {"TypeWithEditAlone",
       [](Registry& r) {
         OtherSoftware(r);
         UserClassType(r);
         UserSourceType(r);
       }},
  };
}

void FaultSweep::Measure(const UserState& state) {
  StartAfresh();
  state.seed(registry());
  before_ = Snapshot();
  ASSERT_EQ(Install(), kMsgUninstallHint);
  installed_ = Snapshot();
  ASSERT_NE(installed_, before_) << "the snapshot does not show the installation";
  ASSERT_EQ(Uninstall(), kMsgUninstalled);
  ASSERT_EQ(Snapshot(), before_) << "without faults";
}

int FaultSweep::RunOf(Mode mode) { return mode == Mode::kInstall ? Install() : Uninstall(); }

void FaultSweep::FailThenRun(const UserState& state, Mode failing, int change, Mode then,
                             const std::string& expected) {
  StartAfresh();
  state.seed(registry());
  if (failing == Mode::kUninstall) {
    ASSERT_EQ(Install(), kMsgUninstallHint);
  }
  FaultingRegistry faulting(registry(), change);
  if (failing == Mode::kInstall) {
    EXPECT_EQ(Install(faulting), kMsgRegistryWriteRefused);
  } else {
    EXPECT_EQ(Uninstall(faulting), kMsgRemovalRefused);
  }
  EXPECT_NE(console_.err.find("Impossibile "), std::string::npos) << console_.err;
  EXPECT_EQ(RunOf(then), then == Mode::kInstall ? kMsgUninstallHint : kMsgUninstalled);
  EXPECT_EQ(Snapshot(), expected);
}

int FaultSweep::Sweep(const UserState& state, Mode failing) {
  PutKit();
  Measure(state);
  StartAfresh();
  state.seed(registry());
  if (failing == Mode::kUninstall) {
    EXPECT_EQ(Install(), kMsgUninstallHint);
  }
  FaultingRegistry counting(registry(), 0);
  if (failing == Mode::kInstall) {
    EXPECT_EQ(Install(counting), kMsgUninstallHint);
  } else {
    EXPECT_EQ(Uninstall(counting), kMsgUninstalled);
  }

  for (int change = 1; change <= counting.changes(); ++change) {
    SCOPED_TRACE(std::string(failing == Mode::kInstall ? "install" : "uninstall") + " failing at change " +
                 std::to_string(change));
    // Then an uninstallation undoes the work...
    FailThenRun(state, failing, change, Mode::kUninstall, before_);
    // ...or an installation finishes it, or puts everything back in place.
    FailThenRun(state, failing, change, Mode::kInstall, installed_);
  }
  return counting.changes();
}

}  // namespace nerbo
