#include "runtime/portable/launch_plan.h"

#include "runtime/error_number.h"
#include "runtime/portable/ascii.h"
#include "runtime/portable/command_line.h"
#include "runtime/portable/search_path.h"

namespace nerbo {

const LaunchRules kWindowsLaunchRules = {true, true, ';', '\\'};
const LaunchRules kPosixLaunchRules = {false, false, ':', '/'};

namespace {

struct Candidate {
  std::string path;
  bool script;
};

// A drive or any separator pins the program to one place.
bool SearchesPath(const std::string& program) {
  bool drive = program.size() >= 2 && UpperCase(program[0]) >= 'A' && UpperCase(program[0]) <= 'Z' &&
               program[1] == ':';
  return !drive && program.find_first_of("/\\") == std::string::npos;
}

// The last dot anywhere counts, in a directory too: "C:\jdk1.1\bin\javac"
// is tried only as it stands.
std::vector<Candidate> CandidatesFor(const std::string& program, const LaunchRules& rules) {
  std::size_t dot = program.rfind('.');
  if (dot != std::string::npos || !rules.append_extensions) {
    bool script = false;
    if (rules.run_scripts && dot != std::string::npos) {
      std::string extension = program.substr(dot);
      script = EqualsIgnoreCase(extension, ".BAT") || EqualsIgnoreCase(extension, ".CMD");
    }
    return {{program, script}};
  }
  return {{program + ".EXE", false},
          {program + ".BAT", rules.run_scripts},
          {program + ".CMD", rules.run_scripts}};
}

// Paths longer than the resolved-path buffer of the Windows tool are
// refused rather than cut, on both platforms.
bool FitsResolvedPath(const std::string& path) { return path.size() <= kResolvedPathLimit; }

bool ExistsAndFits(const std::string& path, const LaunchPlatform& platform) {
  return FitsResolvedPath(path) && platform.exists(path);
}

// The current directory first, then along PATH.
std::vector<std::string> SearchPlaces(const std::string& candidate, const LaunchRules& rules,
                                      const LaunchPlatform& platform) {
  std::vector<std::string> places = {candidate};
  std::string path_list;
  if (!platform.environment("PATH", &path_list)) return places;
  for (std::string& place :
       PlacesAlongPath(candidate, path_list, rules.path_list_separator, rules.dir_separator)) {
    places.push_back(std::move(place));
  }
  return places;
}

bool FindAlongPath(const std::string& candidate, const LaunchRules& rules, const LaunchPlatform& platform,
                   std::string* found) {
  for (const std::string& place : SearchPlaces(candidate, rules, platform)) {
    if (!ExistsAndFits(place, platform)) continue;
    std::string full = platform.full_path(place);
    *found = !full.empty() && FitsResolvedPath(full) ? full : place;
    return true;
  }
  return false;
}

bool Resolve(const std::string& program, const LaunchRules& rules, const LaunchPlatform& platform,
             Candidate* resolved) {
  bool search = SearchesPath(program);
  for (Candidate& candidate : CandidatesFor(program, rules)) {
    if (search) {
      std::string found;
      if (!FindAlongPath(candidate.path, rules, platform, &found)) continue;
      candidate.path = found;
    } else if (!ExistsAndFits(candidate.path, platform)) {
      continue;
    }
    *resolved = std::move(candidate);
    return true;
  }
  return false;
}

}  // namespace

bool PlanLaunch(const std::string& program, const std::vector<std::string>& arguments,
                const LaunchRules& rules, const LaunchPlatform& platform, LaunchPlan* plan) {
  Candidate resolved;
  if (!Resolve(program, rules, platform, &resolved)) {
    SetErrorNumber(kErrNoEntry);
    return false;
  }
  plan->arguments = arguments;
  if (!resolved.script) {
    plan->application = resolved.path;
    plan->command_line = JoinArguments(arguments);
    return true;
  }
  // The interpreter gets argument 0 as the caller wrote it, not the script's
  // resolved path: the child's command line stays the one the caller built.
  std::string interpreter;
  if (!platform.environment("COMSPEC", &interpreter)) {
    SetErrorNumber(kErrNoEntry);
    return false;
  }
  plan->application = interpreter;
  plan->command_line = interpreter + " /c " + JoinArguments(arguments);
  return true;
}

}  // namespace nerbo
