// The tool's one pass from entry to end: banner, mode by command line,
// argument string, target file, dispatch by the extension found on disk.
#pragma once

#include <string>

#include "core/run_context.h"

namespace nerbo {

// Runs the modes and gives the message code that ended the run. Any other
// exception that escapes a mode (no memory left, say) is reported here on
// standard error and ends the run with kMsgInternalError.
int RunToMessageCode(RunContext& context);

// The program's whole run, RunToMessageCode then EndRun, with the run ended
// where its code is raised rather than by a throw: `end_process` receives
// the exit status and does not return.
[[noreturn]] void RunToEnd(RunContext& context, void (*end_process)(int status));

// What the system registry is told to do when it cannot be read: say why on
// standard error and end the run with kMsgRegistryUnreadable.
[[noreturn]] void EndOnUnreadableRegistry(Console& console, const std::string& message);

// The end of every run: prints the code's message (with the first argument
// as typed as its parameter), waits for a key unless the code is 11 or 0, and
// gives the exit status.
int EndRun(RunContext& context, int code);

}  // namespace nerbo
