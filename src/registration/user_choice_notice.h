// After an installation: the Explorer opens a file type with the program the
// user picked for it (a per-user choice, kept under HKEY_CURRENT_USER and
// protected so that only the user can set it) rather than with the
// association installed. Such a choice is never changed; the user
// is told how to pick the tool.
#pragma once

#include "core/registration_scope.h"
#include "registry/registry.h"
#include "runtime/console.h"

namespace nerbo {

// Prints one line when the user's own choice for `.class` (or `.java`, when
// `with_sources`) names another type than the association installed in
// `scope`; prints nothing otherwise.
void NoteUserChoices(Registry& registry, const RegistrationScope& scope, Console& console, bool with_sources);

}  // namespace nerbo
