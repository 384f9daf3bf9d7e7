// The console messages of the tool, selected by message code, and the
// printers of everything else the tool writes.
#pragma once

#include <string>

#include "core/run_context.h"
#include "runtime/console.h"

namespace nerbo {

// Prints the message of `code`; `parameter` fills the one message that has
// a place for it (code 6). Codes without a message print nothing.
void PrintMessage(Console& console, int code, const char* parameter = nullptr);

// Writes to standard error: `prefix` and ": " (when the prefix is not
// empty), the text of the current error number, a line end.
void PrintErrorText(Console& console, const char* prefix);

// Lines beyond the message table, printed by the modes before their end: an
// installation for the current user alone, and an uninstallation that leaves
// the current user's own registration in place.
extern const char kInstalledForUserText[];
extern const char kUserRegistrationRemainsText[];

void Print(Console& console, const std::string& text);
void PrintError(Console& console, const std::string& text);

// Ends the run with one of the codes beyond the message table, which print
// nothing at the end: `line`, which says why, goes to standard error first.
[[noreturn]] void RaiseWithErrorLine(const RunContext& context, int code, const std::string& line);

}  // namespace nerbo
