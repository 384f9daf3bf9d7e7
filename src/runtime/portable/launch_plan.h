// What to start for a launch: the program resolved against extensions, the
// current directory and PATH, and the command line. Written against a small
// platform interface so the rules of both platforms run in tests anywhere.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace nerbo {

inline constexpr std::size_t kResolvedPathLimit = 259;  // characters, the terminator aside

struct LaunchRules {
  bool append_extensions;  // try .EXE, .BAT and .CMD after a name without a dot
  bool run_scripts;        // start .BAT and .CMD through the command interpreter
  char path_list_separator;
  char dir_separator;  // put between a PATH directory and the name
};

extern const LaunchRules kWindowsLaunchRules;
extern const LaunchRules kPosixLaunchRules;

struct LaunchPlatform {
  std::function<bool(const std::string& path)> exists;
  // False when the variable is not set.
  std::function<bool(const char* name, std::string* value)> environment;
  std::function<std::string(const std::string& path)> full_path;
};

struct LaunchPlan {
  std::string application;
  std::string command_line;            // what a Windows child gets
  std::vector<std::string> arguments;  // what a Linux child gets: the arguments as given
};

// False with the error number set when there is nothing to start.
bool PlanLaunch(const std::string& program, const std::vector<std::string>& arguments,
                const LaunchRules& rules, const LaunchPlatform& platform, LaunchPlan* plan);

}  // namespace nerbo
