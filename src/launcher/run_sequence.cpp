#include "launcher/run_sequence.h"

#include <exception>
#include <new>

#include "compile/compile_source.h"
#include "core/file_types.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "core/settings_key.h"
#include "core/switches.h"
#include "launcher/console_input.h"
#include "launcher/usage.h"
#include "registration/installer.h"
#include "registration/uninstaller.h"
#include "run/run_class.h"
#include "run/run_jar.h"
#include "runtime/file_search.h"
#include "runtime/portable/ascii.h"
#include "runtime/portable/path.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

// The arguments after the target, each followed by a blank, or the line
// typed at the prompt. Never longer than the argument string's limit.
void CollectArgumentString(RunContext& context) {
  const std::vector<std::string>& arguments = context.arguments;
  context.argument_string.clear();
  if (arguments.size() <= 2) return;
  if (EqualsIgnoreCase(arguments[2], kPromptSwitch)) {
    PrintMessage(context.console, kMsgAskArguments);
    ReadInputLine(context.console, &context.argument_string);
    return;
  }
  context.argument_string = ArgumentStringFrom(arguments, 2);
}

// Makes the target's directory (and drive) current. A target whose directory
// cannot be entered is not looked for elsewhere: it cannot be found.
void EnterTargetDirectory(RunContext& context) {
  std::string directory =
      MergePath(context.drive, context.directory, "", "", context.conventions.dir_separator);
  if (directory.empty()) return;
  if (ChangeDirectory(directory) != 0) RaiseMessageCode(context, kMsgFileNotFound);
  if (!context.drive.empty()) {
    if (SelectDrive(DriveNumber(context.drive)) == 0) RaiseMessageCode(context, kMsgFileNotFound);
  }
}

void FindTarget(RunContext& context) {
  // The search would take the '?' standing for a lost character as a
  // wildcard and run whichever file matched.
  if (context.target_lost_characters) RaiseMessageCode(context, kMsgFileNotFound);
  const FolderNaming naming = context.conventions.folder_naming;
  PathParts typed = SplitPath(context.arguments[1], naming);
  // What is left of a path too long to split may name another file.
  if (typed.shortened) RaiseMessageCode(context, kMsgFileNotFound);
  context.drive = typed.drive;
  context.directory = typed.directory;
  context.name = typed.name;
  context.extension = typed.extension;
  EnterTargetDirectory(context);
  std::string file_name =
      MergePath("", "", context.name, context.extension, context.conventions.dir_separator);
  if (!FindFirstFileName(file_name, &context.found_name)) RaiseMessageCode(context, kMsgFileNotFound);
  if (!IsRegularFile(context.found_name)) RaiseMessageCode(context, kMsgFileNotFound);
  PathParts found = SplitPath(context.found_name, naming);
  context.name = found.name;
  context.extension = found.extension;
}

void ReportInternalError(Console& console, const std::string& why) {
  PrintError(console, "\nErrore interno del programma: " + why + "\nEsecuzione interrotta.\n\n");
}

[[noreturn]] void Run(RunContext& context) {
  if (context.arguments.size() == 2) AnswerUsageSwitch(context);
  PrintMessage(context.console, kMsgBanner);
  if (context.arguments.size() < 2) Install(context);
  CollectArgumentString(context);
  if (EqualsIgnoreCase(context.arguments[1], kUninstallSwitch)) Uninstall(context);
  FindTarget(context);
  context.settings_key = OpenSettingsKeyToRead(context.registry);
  if (context.extension == kClassExtension) RunClass(context);
  if (context.extension == kSourceExtension) CompileSource(context);
  if (context.extension == kArchiveExtension) RunJar(context);
  RaiseMessageCode(context, kMsgUnsupportedFile);
}

}  // namespace

void SetRunEnding(RunContext& context, ProcessEnd end_process) {
  context.end = [&context, end_process](int code) { end_process(EndRun(context, code)); };
}

void RunToEnd(RunContext& context, ProcessEnd end_process) {
  SetRunEnding(context, end_process);
  // Every mode ends through the ending; what escapes one is the tool's own
  // failure. (The tests' process end throws something else, which passes.)
  try {
    Run(context);
  } catch (const std::bad_alloc&) {
    ReportInternalError(context.console, "memoria insufficiente");
  } catch (const std::exception& failure) {
    ReportInternalError(context.console, failure.what());
  }
  RaiseMessageCode(context, kMsgInternalError);
}

void EndOnUnreadableRegistry(const RunContext& context, const std::string& message) {
  PrintError(context.console, message + "\n\n");
  RaiseMessageCode(context, kMsgRegistryUnreadable);
}

int EndRun(RunContext& context, int code) {
  // An install or uninstall that stopped part way lets other runs at the
  // registry before this one waits for the user.
  context.registry.DiscardChanges();
  const char* parameter = context.arguments.size() > 1 ? context.arguments[1].c_str() : nullptr;
  PrintMessage(context.console, code, parameter);
  if (code != kMsgCompiled && code != kMsgUsage) WaitForKey(context.console);
  context.console.Flush();
  return code;
}

}  // namespace nerbo
