// Installs and uninstalls that fail at each change in turn (support/
// faulting_registry.h), over a registry that holds a user's associations;
// by an administrator, and by a user who may not change the machine's keys.
// Whatever change fails, the run ends with its full result or with its
// failure code, and a later run without faults finishes the work or undoes
// it: the user's state before the installation comes back byte for byte.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/registration_scope.h"
#include "registration/registration_harness.h"

namespace nerbo {

struct UserState {
  const char* reason;
  std::function<void(Registry&)> seed;
  RegistrationScope scope = kMachineScope;  // where the runs register
};

// A user's `.class` association and a `.java` type of their own with their
// own Edit command, with and without other verbs beside it, with and without
// a jar type; and the same in the user's own classes, over the machine's.
std::vector<UserState> UserStates();

class FaultSweep : public RegistrationTest {
 protected:
  enum class Mode { kInstall, kUninstall };

  // Fails each change of an installation (of an uninstallation) in turn;
  // gives how many changes a whole run makes.
  int Sweep(const UserState& state, Mode failing);

  // The registry as the comparisons see it, and a fresh start for the next
  // round: the whole dump of a fresh registry here; a backend that cannot
  // be dumped whole or reset overrides both.
  virtual std::string Snapshot() { return Dump(); }
  virtual void StartAfresh() { ResetRegistry(); }
  // Runs `run` on the registry as the state's user finds it: the machine's
  // keys refused when the state registers for the user.
  virtual int RunAs(const std::function<int(Registry&)>& run);

  RegistrationScope scope_ = kMachineScope;

 private:
  // What the state looks like before installing and once installed.
  void Measure(const UserState& state);
  // A run without a fault when `failing_change` is 0; `changes` (optional)
  // gets how many it asked for.
  int RunOf(Mode mode, int failing_change = 0, int* changes = nullptr);
  // From the user's state (installed first when an uninstallation is to
  // fail), the run of `failing` refused at its change `change`, then a run of
  // `then` without faults, after which the registry must show `expected`.
  void FailThenRun(const UserState& state, Mode failing, int change, Mode then, const std::string& expected);

  std::string before_;
  std::string installed_;
};

}  // namespace nerbo
