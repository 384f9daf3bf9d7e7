#include "runtime/spawn.h"

#include <cstdio>
#include <new>

#include "runtime/error_number.h"
#include "runtime/spawn_platform.h"

namespace nerbo {

SpawnResult SpawnProgram(const std::string& program, const std::vector<std::string>& arguments) {
  try {
    LaunchPlan plan;
    if (!PlanLaunch(program, arguments, HostLaunchRules(), HostLaunchPlatform(), &plan)) return {};
    // What the tool printed must reach the console before the child's output.
    std::fflush(nullptr);
    return StartAndWait(plan);
  } catch (const std::bad_alloc&) {
    SetErrorNumber(kErrNoMemory);
    return {};
  }
}

}  // namespace nerbo
