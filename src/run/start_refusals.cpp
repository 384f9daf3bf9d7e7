#include "run/start_refusals.h"

#include <vector>

#include "core/file_types.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "run/package_folder.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

std::string SimpleName(const std::string& qualified_name) {
  return qualified_name.substr(qualified_name.rfind('.') + 1);
}

std::string ModuleDescriptorText(const std::string& class_file) {
  return "Il file " + class_file +
         " descrive un modulo (module-info), non contiene una classe da avviare.\n" +
         "Avviare invece la classe del modulo che ha il metodo main.\n\n";
}

// A copy such as "Hello (1).class": java looks for class Hello in Hello.class
// and would start that file, or none.
std::string MisnamedText(const std::string& qualified_name, const std::string& class_file) {
  const std::string own_file = SimpleName(qualified_name) + kClassExtension;
  return "La classe " + qualified_name + " si trova nel file " + class_file + ", ma java la cerca in " +
         own_file + ".\nRinominare il file in " + own_file +
         " (in un'altra directory, se quel nome c'e' gia').\n\n";
}

// Compiled in place without -d: no climb leads java to the class file.
std::string OutsidePackageText(const std::string& qualified_name, const std::string& class_file,
                               const std::vector<std::string>& package, char separator) {
  std::string folder;
  for (const std::string& component : package) folder += component + separator;
  return "La classe " + qualified_name + " non si trova nella directory del suo package.\nIl file " +
         class_file + " deve stare in " + folder + " sotto la directory radice dei package:\n" +
         "spostarlo li', oppure compilare con javac -d seguito da quella directory.\n\n";
}

// java finds class demo.Name in demo/ below the folder it starts in, and the
// class run starts it one folder up per package level, from the class
// file's folder, the current one.
void EndUnlessInPackageFolder(const RunContext& context, const std::string& class_file,
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

void EndUnlessStartable(const RunContext& context, const std::string& class_file,
                        const ClassNameResult& found) {
  if (found.module_descriptor) {
    RaiseWithErrorLine(context, kMsgClassFileMisnamed, ModuleDescriptorText(class_file));
  }
  // The file's base name is the name the file was found by, as stored.
  if (found.own_name &&
      !SameFileName(SimpleName(found.qualified_name), context.name, context.conventions.folder_naming)) {
    RaiseWithErrorLine(context, kMsgClassFileMisnamed, MisnamedText(found.qualified_name, class_file));
  }
  EndUnlessInPackageFolder(context, class_file, found);
}

}  // namespace nerbo
