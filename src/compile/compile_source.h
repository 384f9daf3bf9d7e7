// The source compile: finds the package depth, compiles with the recorded javac and ends the run, or goes on
// into the class run after a successful compile with /ExecuteAfterCompile.
#pragma once

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void CompileSource(RunContext& context);

}  // namespace nerbo
