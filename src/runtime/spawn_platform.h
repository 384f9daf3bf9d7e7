// The platform half of SpawnProgram: the launch rules and services of the
// host and the start of a planned launch (spawn_win32.cpp, spawn_posix.cpp).
#pragma once

#include "runtime/portable/launch_plan.h"
#include "runtime/spawn.h"

namespace nerbo {

const LaunchRules& HostLaunchRules();
LaunchPlatform HostLaunchPlatform();

// Starts the plan, waits for the child to end and reads its status; on a
// failed start sets the error number.
SpawnResult StartAndWait(const LaunchPlan& plan);

}  // namespace nerbo
