#include "run/run_class.h"

#include "core/file_types.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "core/settings_key.h"
#include "run/class_name_scanner.h"
#include "run/class_path.h"
#include "run/package_folder.h"
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

// What the user reads when the class file is outside its package's folder:
// the class, the folder below the package root it belongs in ("demo\" for
// package demo) and the two ways to put it there.
std::string OutsidePackageText(const std::string& qualified_name, const std::string& class_file,
                               const std::vector<std::string>& package, char separator) {
  std::string folder;
  for (const std::string& component : package) folder += component + separator;
  return "La classe " + qualified_name + " non si trova nella directory del suo package.\nIl file " +
         class_file + " deve stare in " + folder + " sotto la directory radice dei package:\n" +
         "spostarlo li', oppure compilare con javac -d seguito da quella directory.\n\n";
}

// Climbing from a class file outside its package's folder (compiled in place
// without -d) reaches no folder where java finds the class, and java's own
// complaint does not say why: then nothing starts and the user is told where
// the file belongs. The class file's folder is the current one.
void EndUnlessInPackageFolder(RunContext& context, const std::string& class_file,
                              const ClassNameResult& found) {
  std::vector<std::string> package = PackageComponents(found.qualified_name, found.package_depth);
  std::string directory;
  // The directory is only compared, so no buffer limits its length.
  if (package.empty() || !GetWorkingDirectory(&directory, std::string::npos)) return;
  if (SitsInPackageFolder(directory, package, context.conventions.folder_naming)) return;
  RaiseWithErrorLine(
      context, kMsgClassOutsidePackage,
      OutsidePackageText(found.qualified_name, class_file, package, context.conventions.dir_separator));
}

}  // namespace

void RunJava(const RunContext& context, const std::optional<std::string>& java,
             const std::vector<std::string>& arguments) {
  if (!java) {
    SetErrorNumber(kErrNoEntry);
    RaiseMessageCode(context, kMsgSpawnFailed);
  }
  SpawnResult result = context.spawn(*java, arguments);
  if (!result.started) RaiseMessageCode(context, kMsgSpawnFailed);
  RaiseMessageCode(context, result.exit_status == 0 ? kMsgProgramDone : kMsgProgramFailed);
}

void RunClass(RunContext& context) {
  std::string class_file = ClassFileName(context);
  ClassNameResult found = FindQualifiedClassName(class_file.c_str(), context.name);
  if (found.jbuilder_note) Print(context.console, kJBuilderNote);
  EndUnlessInPackageFolder(context, class_file, found);

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
          {conventions.java_tool, "-classpath", ClassPathArgument(class_path), found.qualified_name,
           context.argument_string});
}

}  // namespace nerbo
