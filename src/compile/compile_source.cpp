#include "compile/compile_source.h"

#include "compile/package_scanner.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "core/settings_key.h"
#include "core/switches.h"
#include "run/child_arguments.h"
#include "run/class_path.h"
#include "run/run_class.h"
#include "runtime/error_number.h"

namespace nerbo {
namespace {

bool RunAfterCompileAsked(const RunContext& context) {
  return context.arguments.size() > 2 && context.arguments[2] == kRunAfterCompileSwitch;
}

}  // namespace

void CompileSource(RunContext& context) {
  int package_depth = FindPackageDepth(context.found_name.c_str());
  std::optional<std::string> javac = ReadToolPath(context.registry, context.settings_key, kCompileValue);
  const Conventions& conventions = context.conventions;

  std::string file_name = TargetFileName(context);
  Print(context.console, "Sto compilando il file \"" + file_name + "\". ");
  PrintMessage(context.console, kMsgWait);

  std::string class_path =
      BuildClassPath(conventions, PackageRootEntry(conventions, package_depth), javac.value_or(""),
                     conventions.javac_tail, UserClassPath(conventions));
  Print(context.console, "classpath: " + class_path + "\n\n");

  if (!javac) {
    SetErrorNumber(kErrNoEntry);
    RaiseMessageCode(context, kMsgSpawnFailed);
  }
  SpawnResult result =
      context.spawn(*javac, {conventions.javac_tool, "-classpath", ClassPathArgument(conventions, class_path),
                             FileArgument(conventions, file_name)});
  if (!result.started) RaiseMessageCode(context, kMsgSpawnFailed);
  if (result.exit_status != 0) RaiseMessageCode(context, kMsgCompileFailed);

  if (!RunAfterCompileAsked(context)) RaiseMessageCode(context, kMsgCompiled);
  context.run_after_compile = true;
  // The switch is the tool's: the program gets what follows it, as a run of
  // the class would give it.
  context.argument_string = ArgumentStringFrom(context.arguments, 3);
  PrintMessage(context.console, kMsgCompiled);
  RunClass(context);
}

}  // namespace nerbo
