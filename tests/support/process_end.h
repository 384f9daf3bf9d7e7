// The end of a run as the program has it, with the end of the process stood
// in for: the tests run the launcher's real ending (message, discarded
// changes, key wait), and the status comes back to them as a throw.
#pragma once

#include "core/run_context.h"

namespace nerbo {

// Thrown in place of the process's end. Derives from no standard exception,
// so that the launcher's catch of the tool's own failures lets it pass.
struct ProcessEnded {
  int status;
};

[[noreturn]] void ThrowProcessEnded(int status);

// The whole run from the entry (RunToEnd); its exit status.
int RunToStatus(RunContext& context);

// One mode entered with the launcher's ending set, as the launcher enters
// it; the exit status it ends with.
int RunModeToStatus(RunContext& context, void (*mode)(RunContext&));

}  // namespace nerbo
