#include "run/run_class.h"

#include "core/file_types.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "core/settings_key.h"
#include "run/child_arguments.h"
#include "run/class_path.h"
#include "run/qualified_class_name.h"
#include "run/start_refusals.h"
#include "runtime/error_number.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

// The class file to open: the file found on disk, or after a compile the
// class file the compiler wrote beside the source.
std::string ClassFileName(const RunContext& context) {
  if (!context.run_after_compile) return context.found_name;
  return context.found_name.substr(0, context.found_name.size() - kSourceExtensionLength) + kClassExtension;
}

}  // namespace

void RunJava(const RunContext& context, const std::optional<std::string>& java,
             std::vector<std::string> arguments) {
  if (!java) {
    SetErrorNumber(kErrNoEntry);
    RaiseMessageCode(context, kMsgSpawnFailed);
  }
  AppendUserArguments(context.conventions, context.argument_string, &arguments);
  SpawnResult result = context.spawn(*java, arguments);
  if (!result.started) RaiseMessageCode(context, kMsgSpawnFailed);
  RaiseMessageCode(context, result.exit_status == 0 ? kMsgProgramDone : kMsgProgramFailed);
}

void RunClass(RunContext& context) {
  std::string class_file = ClassFileName(context);
  ClassNameResult found = FindQualifiedClassName(class_file.c_str(), context.name);
  if (found.jbuilder_note) Print(context.console, kJBuilderNote);
  EndUnlessStartable(context, class_file, found);

  // The child starts at the root of the package tree, so "." reaches it.
  for (int level = 0; level < found.package_depth; ++level) ChangeDirectory("..");

  std::optional<std::string> java = ReadToolPath(context.registry, context.settings_key, kRunValue);
  const Conventions& conventions = context.conventions;
  std::string class_path =
      BuildClassPath(conventions, ".", java.value_or(""), conventions.java_tail, UserClassPath(conventions));

  PrintMessage(context.console, kMsgStarting);
  Print(context.console, "(className: \"" + found.qualified_name + "\").\n");
  PrintMessage(context.console, kMsgWait);

  RunJava(context, java,
          {conventions.java_tool, "-classpath", ClassPathArgument(conventions, class_path),
           found.qualified_name});
}

}  // namespace nerbo
