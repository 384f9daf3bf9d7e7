// The class run: finds the qualified class name, climbs to the package root and runs the class with the
// recorded java. Ends the run with message code 14, 13 or 8, or with 24 when the class file is not in
// its package's folder.
#pragma once

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void RunClass(RunContext& context);

}  // namespace nerbo
