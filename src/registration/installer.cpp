#include "registration/installer.h"

#include <string>

#include "core/message_code.h"
#include "core/messages.h"
#include "desktop/desktop_integration.h"
#include "registration/registration_failure.h"
#include "registration/registry_layout.h"
#include "registration/user_choice_notice.h"
#include "runtime/file_search.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

bool FindInWorkingDirectory(const char* name) {
  std::string found;
  return FindFirstFileName(name, &found);
}

RegKey CreateSubkey(Registry& registry, RegKey parent, const char* name, bool* created = nullptr) {
  RegKey key = 0;
  registry.CreateKey(parent, name, &key, created);
  return key;
}

// Creates `Shell\<verb>\command` and writes the verb's command line.
void WriteVerb(Registry& registry, RegKey shell, const char* verb, const std::string& command) {
  RegKey command_key = CreateSubkey(registry, CreateSubkey(registry, shell, verb), kCommandKey);
  WriteText(registry, command_key, kDefaultValue, command);
}

// Saves what `key`'s default value names in `BackUp`, byte for byte with its
// type, unless it is empty or already `own` (then a backup from an earlier
// installation stays as it is).
void BackUpDefaultValue(Registry& registry, RegKey key, const char* own) {
  std::optional<StoredValue> previous = ReadValue(registry, key, kDefaultValue);
  if (!NamesOther(previous, own)) return;
  registry.SetValue(key, kBackUpValue, previous->type, previous->bytes.data(),
                    static_cast<std::uint32_t>(previous->bytes.size()));
}

void RegisterClassFiles(Registry& registry, const std::string& tool_path) {
  bool created = false;
  RegKey extension = CreateSubkey(registry, kClassesRoot, kClassExtensionKey, &created);
  if (!created) BackUpDefaultValue(registry, extension, kClassTypeKey);
  WriteText(registry, extension, kDefaultValue, kClassTypeText);

  RegKey type = CreateSubkey(registry, kClassesRoot, kClassTypeKey);
  WriteText(registry, type, kDefaultValue, kClassDescriptionText);
  WriteText(registry, CreateSubkey(registry, type, kDefaultIconKey), kDefaultValue, ClassIconText(tool_path));

  RegKey shell = CreateSubkey(registry, type, kShellKey);
  RegKey run = CreateSubkey(registry, shell, kRunVerb);
  WriteText(registry, shell, kDefaultValue, kClassDefaultVerbText);
  WriteText(registry, CreateSubkey(registry, run, kCommandKey), kDefaultValue, RunCommand(tool_path));
  WriteVerb(registry, shell, kRunWithArgsVerb, RunWithArgsCommand(tool_path));
}

// The source file type: a type `.java` already names keeps its name and
// gains the verbs; otherwise `.java` is pointed at the tool's own type.
std::string ChooseSourceType(Registry& registry) {
  RegKey extension = CreateSubkey(registry, kClassesRoot, kSourceExtensionKey);
  std::optional<StoredValue> named = ReadValue(registry, extension, kDefaultValue);
  if (NamesOther(named, kSourceTypeKey)) return named->Text();
  WriteText(registry, extension, kDefaultValue, kSourceTypeText);
  return kSourceTypeKey;
}

void RegisterSourceFiles(Registry& registry, RegKey settings, const std::string& tool_path,
                         std::uint32_t* flags) {
  RegKey type = CreateSubkey(registry, kClassesRoot, ChooseSourceType(registry).c_str());
  if (!ReadValue(registry, type, kDefaultValue))
    WriteText(registry, type, kDefaultValue, kSourceDescriptionText);

  bool icon_created = false;
  RegKey icon = CreateSubkey(registry, type, kDefaultIconKey, &icon_created);
  if (icon_created || (*flags & kIconFlag)) {
    *flags |= kIconFlag;
    WriteFlagWord(registry, settings, *flags);
    WriteText(registry, icon, kDefaultValue, SourceIconText(tool_path));
  }

  // A user's own Edit command is kept in `BackUp` so that uninstalling can
  // put it back rather than leave the type without one.
  RegKey shell = CreateSubkey(registry, type, kShellKey);
  RegKey edit_command = CreateSubkey(registry, CreateSubkey(registry, shell, kEditVerb), kCommandKey);
  BackUpDefaultValue(registry, edit_command, kEditCommandText.text);
  WriteText(registry, edit_command, kDefaultValue, kEditCommandText);
  WriteVerb(registry, shell, kCompileRunVerb, CompileRunCommand(tool_path));
  WriteVerb(registry, shell, kCompileVerb, CompileCommand(tool_path));

  std::uint32_t verbs = 0;
  std::uint32_t longest = 0;
  if (registry.QueryInfoKey(shell, &verbs, &longest) == kRegSuccess && verbs == 3) {
    *flags |= kShellFlag;
    WriteFlagWord(registry, settings, *flags);
    WriteText(registry, shell, kDefaultValue, kSourceDefaultVerbText);
  }
}

}  // namespace

void Install(RunContext& context) {
  Registry& registry = context.registry;
  const Conventions& conventions = context.conventions;
  const std::string& tool_path = context.arguments.at(0);

  // The whole installation is one change of the registry: no other run of
  // the tool changes it in between, and it lands at once at the end.
  long result = registry.BeginChanges();
  if (result != kRegSuccess) RaiseRegistrationFailure(context.console, kMsgRegistryWriteRefused, result);

  if (!FindInWorkingDirectory(conventions.java_tool)) RaiseMessageCode(kMsgInstallHelp);

  // Paths that do not fit the layout's texts are refused before anything is
  // written, rather than stored cut short.
  if (tool_path.size() > kToolPathLimit) RaiseRegistrationFailure(context.console, kMsgToolPathTooLong);
  std::string install_directory;
  if (!GetWorkingDirectory(&install_directory) || install_directory.size() > kInstallDirectoryLimit) {
    RaiseRegistrationFailure(context.console, kMsgInstallDirectoryTooLong);
  }

  RegKey uninstall = 0;
  CreateKeyPath(registry, kLocalMachine, kUninstallPath, &uninstall);
  uninstall = CreateSubkey(registry, uninstall, kToolKey);
  WriteText(registry, uninstall, kDisplayNameValue, kDisplayNameText);
  WriteText(registry, uninstall, kUninstallStringValue, UninstallCommand(tool_path));

  // Without the settings key and `Run` nothing the tool wrote would work;
  // this is where a run without the right to write HKEY_LOCAL_MACHINE stops.
  RegKey settings = 0;
  result = CreateSettingsKey(registry, &settings);
  if (result == kRegSuccess) result = WriteText(registry, settings, kDefaultValue, kSettingsText);
  if (result != kRegSuccess) RaiseRegistrationFailure(context.console, kMsgRegistryWriteRefused, result);

  std::uint32_t flags = ReadFlagWord(registry, settings);
  WriteFlagWord(registry, settings, flags);

  result = WriteToolPath(registry, settings, kRunValue, JavaToolPath(install_directory, conventions));
  if (result != kRegSuccess) RaiseRegistrationFailure(context.console, kMsgRegistryWriteRefused, result);

  bool javac_found = FindInWorkingDirectory(conventions.javac_tool);
  if (javac_found) {
    WriteToolPath(registry, settings, kCompileValue, CompilerToolPath(install_directory, conventions));
  }

  RegisterClassFiles(registry, tool_path);
  if (javac_found) RegisterSourceFiles(registry, settings, tool_path, &flags);
  // A Linux desktop's file managers read files of their own, not the registry.
  DesktopResult desktop = InstallDesktopIntegration(tool_path, javac_found);
  result = registry.CommitChanges();
  if (result != kRegSuccess) RaiseChangesNotSaved(context.console, kMsgRegistryWriteRefused);
  if (!desktop.done) RaiseDesktopFailure(context.console, kMsgDesktopInstallFailed, desktop);

  PrintMessage(context.console, kMsgInstalled);
  if (javac_found) PrintMessage(context.console, kMsgCompileMenu);
  NoteUserChoices(registry, context.console, javac_found);
  RaiseMessageCode(kMsgUninstallHint);
}

}  // namespace nerbo
