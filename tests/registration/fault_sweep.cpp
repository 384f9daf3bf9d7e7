#include "registration/fault_sweep.h"

#include "core/message_code.h"
#include "support/faulting_registry.h"
#include "support/refusing_registry.h"

namespace nerbo {
namespace {

// Keys the user's machine (or profile) has anyway, which an uninstallation
// leaves.
void OtherSoftware(Registry& registry, RegKey root = kLocalMachine) {
  SeedIn(registry, root, "SOFTWARE\\Vesk\\Other", "", Sz("another tool"));
  SeedIn(registry, root, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OtherApp", "DisplayName",
         Sz("Other App"));
}

// A value of a file type in the classes of `scope`.
void SeedClass(Registry& registry, const RegistrationScope& scope, const std::string& path, const char* value,
               const std::string& bytes, std::uint32_t type = kRegSz) {
  SeedIn(registry, scope.classes_root,
         scope.classes_key ? std::string(scope.classes_key) + "\\" + path : path, value, bytes, type);
}

void UserClassType(Registry& registry, const RegistrationScope& scope) {
  SeedClass(registry, scope, ".class", "", Sz("userclass"));
  SeedClass(registry, scope, "userclass", "", Sz("Classe dell'utente"));
  SeedClass(registry, scope, "userclass\\Shell\\open\\command", "", Sz("viewer.exe %1"));
}

// An expandable text, as Windows keeps its own commands.
void UserSourceType(Registry& registry, const RegistrationScope& scope) {
  SeedClass(registry, scope, ".java", "", Sz("usersource"));
  SeedClass(registry, scope, ".java", "Content Type", Sz("text/plain"));
  SeedClass(registry, scope, "usersource", "", Sz("Sorgente Java"));
  SeedClass(registry, scope, "usersource\\Shell\\Edit\\command", "", Sz("%SystemRoot%\\edit.exe /e %1"), 2);
}

// A runtime's jar type, whose double click starts a windowed program.
void UserArchiveType(Registry& registry, const RegistrationScope& scope) {
  SeedClass(registry, scope, ".jar", "", Sz("userjar"));
  SeedClass(registry, scope, "userjar", "", Sz("Archivio dell'utente"));
  SeedClass(registry, scope, "userjar\\Shell\\open\\command", "", Sz("javaw.exe -jar \"%1\" %*"));
}

void TypeWithOtherVerbs(Registry& registry, const RegistrationScope& scope) {
  OtherSoftware(registry);
  UserClassType(registry, scope);
  UserSourceType(registry, scope);
  SeedClass(registry, scope, "usersource\\Shell", "", Sz("open"));
  SeedClass(registry, scope, "usersource\\Shell\\open\\command", "", Sz("write.exe %1"));
}

}  // namespace

std::vector<UserState> UserStates() {
  return {
      // `Shell` keeps the user's verbs, default verb and Edit command; the
      // jar type its double click.
      {"TypeWithOtherVerbs",
       [](Registry& r) {
         TypeWithOtherVerbs(r, kMachineScope);
         UserArchiveType(r, kMachineScope);
       }},
      // `Shell` holds only Edit: it becomes the tool's, with the default verb;
      // `.jar` names nothing yet.
      {"TypeWithEditAlone",
       [](Registry& r) {
         OtherSoftware(r);
         UserClassType(r, kMachineScope);
         UserSourceType(r, kMachineScope);
       }},
      // The user's own classes take the registration; the machine's, which
      // show through them, stay as they are, and the machine's jar type gains
      // the console verbs in the user's own classes.
      {"ForTheUserOverTheMachines",
       [](Registry& r) {
         TypeWithOtherVerbs(r, kUserScope);
         OtherSoftware(r, kCurrentUser);
         UserClassType(r, kMachineScope);
         UserArchiveType(r, kMachineScope);
       },
       kUserScope},
  };
}

int FaultSweep::RunAs(const std::function<int(Registry&)>& run) {
  if (!scope_.ForUser()) return run(registry());
  RefusingRegistry standard_user(registry(), kLocalMachine, Refusal::kOpening);
  return run(standard_user);
}

void FaultSweep::Measure(const UserState& state) {
  StartAfresh();
  state.seed(registry());
  before_ = Snapshot();
  ASSERT_EQ(RunOf(Mode::kInstall), kMsgUninstallHint);
  installed_ = Snapshot();
  ASSERT_NE(installed_, before_) << "the snapshot does not show the installation";
  ASSERT_EQ(RunOf(Mode::kUninstall), kMsgUninstalled);
  ASSERT_EQ(Snapshot(), before_) << "without faults";
}

int FaultSweep::RunOf(Mode mode, int failing_change, int* changes) {
  return RunAs([&](Registry& registry) {
    FaultingRegistry faulting(registry, failing_change);
    int code = mode == Mode::kInstall ? Install(faulting) : Uninstall(faulting);
    if (changes) *changes = faulting.changes();
    return code;
  });
}

void FaultSweep::FailThenRun(const UserState& state, Mode failing, int change, Mode then,
                             const std::string& expected) {
  StartAfresh();
  state.seed(registry());
  if (failing == Mode::kUninstall) {
    ASSERT_EQ(RunOf(Mode::kInstall), kMsgUninstallHint);
  }
  EXPECT_EQ(RunOf(failing, change),
            failing == Mode::kInstall ? kMsgRegistryWriteRefused : kMsgRemovalRefused);
  EXPECT_NE(console_.err.find("Impossibile "), std::string::npos) << console_.err;
  EXPECT_EQ(RunOf(then), then == Mode::kInstall ? kMsgUninstallHint : kMsgUninstalled);
  EXPECT_EQ(Snapshot(), expected);
}

int FaultSweep::Sweep(const UserState& state, Mode failing) {
  scope_ = state.scope;
  PutKit();
  Measure(state);
  StartAfresh();
  state.seed(registry());
  if (failing == Mode::kUninstall) {
    EXPECT_EQ(RunOf(Mode::kInstall), kMsgUninstallHint);
  }
  int changes = 0;
  EXPECT_EQ(RunOf(failing, 0, &changes), failing == Mode::kInstall ? kMsgUninstallHint : kMsgUninstalled);

  for (int change = 1; change <= changes; ++change) {
    SCOPED_TRACE(std::string(failing == Mode::kInstall ? "install" : "uninstall") + " failing at change " +
                 std::to_string(change));
    // Then an uninstallation undoes the work...
    FailThenRun(state, failing, change, Mode::kUninstall, before_);
    // ...or an installation finishes it, or puts everything back in place.
    FailThenRun(state, failing, change, Mode::kInstall, installed_);
  }
  return changes;
}

}  // namespace nerbo
