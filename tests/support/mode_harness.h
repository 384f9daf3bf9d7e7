// A run context for tests of the two launch modes: a memory registry holding
// the kit's tool paths, a recording console, and a spawner that records each
// launch (program, arguments, the directory it would start in) and answers
// with queued results.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/run_context.h"
#include "support/recording_console.h"

namespace nerbo {

struct SpawnCall {
  std::string program;
  std::vector<std::string> arguments;
  std::filesystem::path directory;
};

// A finished child's result, and a start that failed (the fake then sets the
// error number 21, as the real spawner does for a program it cannot start).
SpawnResult ExitedWith(std::uint32_t status);
SpawnResult NotStarted();

class ModeHarness {
 public:
  explicit ModeHarness(const Conventions& conventions);

  // Stores a tool path as the installer does: the characters only.
  void SetToolPath(const char* value_name, const std::string& path);

  // The target as the launcher leaves it: found on disk as `found_name`,
  // typed as that name, followed by `further_arguments`, which also make the
  // argument string.
  void SetTarget(const std::string& found_name, const std::vector<std::string>& further_arguments = {});

  // Runs a mode and gives the message code it ended with.
  int Run(void (*mode)(RunContext&));

  RecordingConsole console;
  std::vector<SpawnCall> calls;
  std::deque<SpawnResult> results;     // answered in order; a finished child with 0 when empty
  std::function<void()> during_spawn;  // runs inside each launch, as the child would

  RunContext& context() { return context_; }

 private:
  std::unique_ptr<Registry> registry_;
  RunContext context_;
};

}  // namespace nerbo
