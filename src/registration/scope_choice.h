// Which registration a run of the installer or the uninstaller changes: the
// machine's when the run may change the machine's keys (an administrator's
// console), otherwise the current user's own, which needs no rights.
#pragma once

#include "core/registration_scope.h"

namespace nerbo {

// Decided before the first change.
RegistrationScope ScopeToInstall(Registry& registry);

// The scope that holds a registration for this user when just one does;
// with both, or neither, the scope an installation would take.
RegistrationScope ScopeToUninstall(Registry& registry);

}  // namespace nerbo
