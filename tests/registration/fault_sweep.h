// Installs and uninstalls that fail at each change in turn (support/
// faulting_registry.h), over a registry that holds a user's associations.
// Whatever change fails, the run ends with its full result or with its
// failure code, and a later run without faults finishes the work or undoes
// it: the user's state before the installation comes back byte for byte.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "registration/registration_harness.h"

namespace nerbo {

struct UserState {
  const char* reason;
  std::function<void(Registry&)> seed;
};

// A user's `.class` association and a `.java` type of their own with their
// own Edit command, with and without other verbs beside it, with and without
// a jar type.
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

 private:
  // What the state looks like before installing and once installed.
  void Measure(const UserState& state);
  int RunOf(Mode mode);
  // From the user's state (installed first when an uninstallation is to
  // fail), the run of `failing` refused at its change `change`, then a run of
  // `then` without faults, after which the registry must show `expected`.
  void FailThenRun(const UserState& state, Mode failing, int change, Mode then, const std::string& expected);

  std::string before_;
  std::string installed_;
};

}  // namespace nerbo
