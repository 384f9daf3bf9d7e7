// The usage text and the version, asked for by a switch given as the only
// argument: they take the place of the run (no banner, no key wait).
#pragma once

#include "core/run_context.h"

namespace nerbo {

// With the help or the version switch as the only argument, prints the usage
// text or the version and ends the run with kMsgUsage; otherwise returns and
// the argument keeps its meaning.
void AnswerUsageSwitch(RunContext& context);

}  // namespace nerbo
