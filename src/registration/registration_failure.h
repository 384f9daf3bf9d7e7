// The ways installation and uninstallation fail that the message table does
// not cover: each prints its own line to standard error and ends the run with
// its own code (core/message_code.h).
#pragma once

#include "core/message_code.h"
#include "core/run_context.h"
#include "registration/registry_changes.h"

namespace nerbo {

// Prints the failure's line and raises its code.
[[noreturn]] void RaiseRegistrationFailure(const RunContext& context, int code);

// Ends an installation (`code` 20) or an uninstallation (21) at the change
// the registry refused: the line names the key or value and the error, and
// advises an elevated console.
[[noreturn]] void RaiseRegistryChangeFailure(const RunContext& context, int code,
                                             const ChangeFailure& failure);

}  // namespace nerbo
