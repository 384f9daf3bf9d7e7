// The entry of the tool: the platform's services, one run, its exit status.
#include <cstdlib>

#include "launcher/run_sequence.h"
#include "registry/system_registry.h"
#include "runtime/argument_vector.h"

namespace {

[[noreturn]] void EndProcess(int status) { std::exit(status); }

}  // namespace

int main(int argc, char** argv) {
  using namespace nerbo;
  std::unique_ptr<Console> console = MakeSystemConsole();
  // The registry is read first inside the run, when the context exists.
  const RunContext* running = nullptr;
  std::unique_ptr<Registry> registry = MakeSystemRegistry(
      [&running](const std::string& message) { EndOnUnreadableRegistry(*running, message); });
  RunContext context(*registry, *console, HostConventions(), SpawnProgram);
  running = &context;
  context.arguments = BuildArgumentVector(argc, argv);
  context.target_lost_characters = ArgumentLostCharacters(1);
  RunToEnd(context, EndProcess);
}
