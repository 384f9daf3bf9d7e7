#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "runtime/environment.h"
#include "runtime/error_number.h"
#include "runtime/file_search.h"
#include "runtime/run_quietly_posix.h"
#include "runtime/spawn_platform.h"

extern char** environ;

namespace nerbo {
namespace {

// Absolute without resolving links: the child may look at the path it was
// started by, and a link names the kit the user set up.
std::string FullPath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char* directory = getcwd(nullptr, 0);
  if (directory == nullptr) return std::string();
  std::string full = std::string(directory) + "/" + path;
  std::free(directory);
  return full;
}

// A directory passes the existence test; its start fails as it does on
// Windows, as a format error.
int StartFailureNumber(int code, const std::string& application) {
  struct stat status;
  if (stat(application.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return kErrExecFormat;
  return ErrorNumberFromPlatformCode(static_cast<unsigned long>(code));
}

// A child killed by a signal reads as the shells report it, 128 plus the
// signal number: never 0, so a killed child never passes for success.
std::uint32_t StatusOf(int wait_status) {
  if (WIFEXITED(wait_status)) return static_cast<std::uint32_t>(WEXITSTATUS(wait_status));
  if (WIFSIGNALED(wait_status)) return 128u + static_cast<std::uint32_t>(WTERMSIG(wait_status));
  return 1;
}

}  // namespace

const LaunchRules& HostLaunchRules() { return kPosixLaunchRules; }

LaunchPlatform HostLaunchPlatform() { return {PathExists, LookUpEnvironment, FullPath}; }

namespace {

// The one start of a child: `argv[0]` looked up along PATH when `search`,
// the standard streams on the null device when `quiet`. Waits for its end.
SpawnResult StartChild(const std::string& application, std::vector<std::string> arguments, bool search,
                       bool quiet, int* failure) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    for (int descriptor : {0, 1, 2}) {
      posix_spawn_file_actions_addopen(&actions, descriptor, "/dev/null",
                                       descriptor == 0 ? O_RDONLY : O_WRONLY, 0);
    }
  }
  pid_t child = 0;
  *failure = search ? posix_spawnp(&child, application.c_str(), &actions, nullptr, argv.data(), environ)
                    : posix_spawn(&child, application.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (*failure != 0) return {};
  int wait_status = 0;
  while (waitpid(child, &wait_status, 0) < 0) {
    // The child was started but its end cannot be learnt (SIGCHLD ignored):
    // an abnormal end, not a success.
    if (errno != EINTR) return {true, 1};
  }
  return {true, StatusOf(wait_status)};
}

}  // namespace

// The child gets the arguments as the tool means them: a name that holds a
// quote or a blank stays one argument.
SpawnResult StartAndWait(const LaunchPlan& plan) {
  int failure = 0;
  SpawnResult result = StartChild(plan.application, plan.arguments, false, false, &failure);
  if (!result.started) SetErrorNumber(StartFailureNumber(failure, plan.application));
  return result;
}

SpawnResult RunQuietly(const std::vector<std::string>& argv) {
  int failure = 0;
  return argv.empty() ? SpawnResult{} : StartChild(argv[0], argv, true, true, &failure);
}

}  // namespace nerbo
