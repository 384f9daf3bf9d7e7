// The tool's one pass from entry to end: banner, mode by command line,
// argument string, target file, dispatch by the extension found on disk; and
// the one end of every run.
#pragma once

#include <string>

#include "core/run_context.h"

namespace nerbo {

// Ends the process with the exit status it is given; it does not return.
using ProcessEnd = void (*)(int status);

// The program's whole run: sets the context's ending (EndRun, then
// `end_process` with the status) and runs the modes, which end through it.
// Any exception that escapes a mode (no memory left, say) is reported on
// standard error and ends the run with kMsgInternalError.
[[noreturn]] void RunToEnd(RunContext& context, ProcessEnd end_process);

// The context's ending alone, for a run that does not start at the entry.
void SetRunEnding(RunContext& context, ProcessEnd end_process);

// What the system registry is told to do when it cannot be read: say why on
// standard error and end the run with kMsgRegistryUnreadable. It may be
// called from inside a registry call, whose store lets go of its lock when
// the end discards the unfinished changes.
[[noreturn]] void EndOnUnreadableRegistry(const RunContext& context, const std::string& message);

// The end of every run: lets go of the registry's unfinished changes, prints
// the code's message (with the first argument as typed as its parameter),
// waits for a key unless the code is 11 or 0, and gives the exit status.
int EndRun(RunContext& context, int code);

}  // namespace nerbo
