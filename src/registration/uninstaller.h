// Uninstallation: removes what the installer wrote and restores what it replaced. Ends the run with message
// code 16.
#pragma once

#include "core/run_context.h"

namespace nerbo {

[[noreturn]] void Uninstall(RunContext& context);

}  // namespace nerbo
