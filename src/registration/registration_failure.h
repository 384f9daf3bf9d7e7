// The ways installation and uninstallation fail that the message table does
// not cover: each prints its own line to standard error and ends the run with
// its own code (core/message_code.h).
#pragma once

#include "core/message_code.h"
#include "runtime/console.h"

namespace nerbo {

// Prints the failure's line and raises its code. `registry_result` (a
// registry result code) adds the text of that error where the line names one.
[[noreturn]] void RaiseRegistrationFailure(Console& console, int code, long registry_result = 0);

// The registry could not keep the changes of an installation
// (kMsgRegistryWriteRefused) or uninstallation (kMsgRemovalRefused): it holds
// what it held before. Prints the line and raises `code`.
[[noreturn]] void RaiseChangesNotSaved(Console& console, int code);

}  // namespace nerbo
