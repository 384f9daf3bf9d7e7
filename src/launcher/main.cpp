// The entry of the tool: the platform's services, one run, its exit status.
#include <cstdlib>

#include "launcher/run_sequence.h"
#include "runtime/argument_vector.h"

namespace {

[[noreturn]] void EndProcess(int status) { std::exit(status); }

}  // namespace

int main(int argc, char** argv) {
  using namespace nerbo;
  std::unique_ptr<Console> console = MakeSystemConsole();
  std::unique_ptr<Registry> registry = MakeSystemRegistry(
      [&console](const std::string& message) { EndOnUnreadableRegistry(*console, message); });
  RunContext context(*registry, *console, HostConventions(), SpawnProgram);
  context.arguments = BuildArgumentVector(argc, argv);
  context.target_lost_characters = ArgumentLostCharacters(1);
  RunToEnd(context, EndProcess);
}
