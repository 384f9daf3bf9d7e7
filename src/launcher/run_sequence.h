// The tool's one pass from entry to end: banner, mode by command line,
// argument string, target file, dispatch by the extension found on disk.
#pragma once

#include "launcher/run_context.h"
#include "launcher/switches.h"

namespace nerbo {

// Runs the modes and gives the message code that ended the run.
int RunToMessageCode(RunContext& context);

// The end of every run: prints the code's message (with the first argument
// as typed as its parameter), waits for a key unless the code is 11, and
// gives the exit status.
int EndRun(RunContext& context, int code);

}  // namespace nerbo
