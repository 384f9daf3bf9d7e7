// The jar run: reads the archive's manifest and runs it with the recorded
// java as "java -jar" in the jar's own folder (the current one), so that the
// manifest's Class-Path resolves. Ends the run with message code 14, 13 or
// 8, or with 26 (no Main-Class) or 27 (no readable archive) before java
// starts.
#pragma once

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void RunJar(RunContext& context);

}  // namespace nerbo
