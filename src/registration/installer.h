// Installation: registers the tool for class files, sources and jars and records the kit's tools. Ends the
// run with message code 15 (or 2 without java in the working directory).
#pragma once

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void Install(RunContext& context);

}  // namespace nerbo
