// The run context: what the launcher hands to every mode. Its texts are
// std::strings, with their limits applied where the text is taken in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "registry/registry.h"
#include "runtime/console.h"
#include "runtime/spawn.h"

namespace nerbo {

inline constexpr std::size_t kArgumentStringLimit = 1023;  // characters of the argument string

using Spawner =
    std::function<SpawnResult(const std::string& program, const std::vector<std::string>& arguments)>;

// How the run ends with a message code: the launcher's end of every run (the
// code's message, the registry's unfinished changes let go, the key wait),
// then the end of the process with the code as its status. It never returns.
using RunEnding = std::function<void(int code)>;

struct RunContext {
  RunContext(Registry& registry_in, Console& console_in, const Conventions& conventions_in,
             Spawner spawner_in)
      : registry(registry_in),
        console(console_in),
        conventions(conventions_in),
        spawn(std::move(spawner_in)) {}

  Registry& registry;
  Console& console;
  const Conventions& conventions;
  Spawner spawn;

  // Argument 0 is the full path of the tool's own program file.
  std::vector<std::string> arguments;
  // The command line could not carry every character of the target path
  // (argument 1): what arrived names another file, or none.
  bool target_lost_characters = false;

  // The target, split: first from the argument, then name and extension
  // from the name found on disk.
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;
  std::string found_name;  // as stored on disk

  // Handed unchanged to the Java program as its last argument.
  std::string argument_string;

  RegKey settings_key = 0;
  bool run_after_compile = false;

  // Set by the launcher before any mode runs.
  RunEnding end;
};

// The arguments from `first` on, each followed by a blank, as the argument
// string takes them: no longer than its limit.
std::string ArgumentStringFrom(const std::vector<std::string>& arguments, std::size_t first);

// The target's name as found on disk, without its directory (the current
// one): what a child is given as the file.
std::string TargetFileName(const RunContext& context);

// Ends the run with `code` through the context's ending: nothing after the
// raise runs.
[[noreturn]] void RaiseMessageCode(const RunContext& context, int code);

}  // namespace nerbo
