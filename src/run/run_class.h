// The class run: finds the qualified class name, climbs to the package root and runs the class with the
// recorded java. Ends the run with message code 14, 13 or 8, or before java starts with 25 when the
// file's name is not its class's (or it describes a module) and 24 when it is not in its package's folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void RunClass(RunContext& context);

// Starts the recorded java (nothing when no Run value could be read) with
// `arguments` followed by the user's argument string, and ends the run by how
// it ended: 14 for status 0, 13 for any
// other, 8 when it could not start.
[[noreturn]] void RunJava(const RunContext& context, const std::optional<std::string>& java,
                          std::vector<std::string> arguments);

}  // namespace nerbo
