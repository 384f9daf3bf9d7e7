// The class run: finds the qualified class name, climbs to the package root and runs the class with the
// recorded java. Ends the run with message code 14, 13 or 8, or before java starts with 25 when the
// file's name is not its class's (or it describes a module) and 24 when it is not in its package's folder.
#pragma once

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void RunClass(RunContext& context);

}  // namespace nerbo
