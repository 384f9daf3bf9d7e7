#include "registration/installer.h"

#include <string>

#include "core/message_code.h"
#include "core/messages.h"
#include "desktop/desktop_integration.h"
#include "registration/registration_failure.h"
#include "registration/registry_changes.h"
#include "registration/registry_layout.h"
#include "registration/scope_choice.h"
#include "registration/user_choice_notice.h"
#include "runtime/file_search.h"
#include "runtime/working_directory.h"

namespace nerbo {
namespace {

bool FindInWorkingDirectory(const char* name) {
  std::string found;
  return FindFirstFileName(name, &found);
}

// Creates `Shell\<verb>\command` and writes the verb's command line.
void WriteVerb(RegistryChanges& changes, RegKey shell, const char* verb, const std::string& command) {
  changes.Write(changes.Create(changes.Create(shell, verb), kCommandKey), kDefaultValue, command);
}

// Replaces `key`'s default value with `own`. What it named before (unless
// empty or already `own`) is first saved in `BackUp`, byte for byte with its
// type, and read back: the value is replaced only once it is safe there. A
// backup from an earlier installation stays while the value is still `own`.
void ReplaceDefaultValue(RegistryChanges& changes, RegKey key, LayoutText own) {
  std::optional<StoredValue> previous = changes.Read(key, kDefaultValue);
  if (NamesOther(previous, own.text)) changes.WriteAndVerify(key, kBackUpValue, *previous);
  changes.Write(key, kDefaultValue, own);
}

// A file type of the tool's own whose files it runs: a description, the
// tool's icon, the default verb Run and Run with args...
void WriteRunType(RegistryChanges& changes, const char* name, LayoutText description,
                  const std::string& tool_path) {
  RegKey type = changes.Create(kClassesRoot, name);
  changes.Write(type, kDefaultValue, description);
  changes.Write(changes.Create(type, kDefaultIconKey), kDefaultValue, ClassIconText(tool_path));

  RegKey shell = changes.Create(type, kShellKey);
  RegKey run = changes.Create(shell, kRunVerb);
  changes.Write(shell, kDefaultValue, kClassDefaultVerbText);
  changes.Write(changes.Create(run, kCommandKey), kDefaultValue, RunCommand(tool_path));
  WriteVerb(changes, shell, kRunWithArgsVerb, RunWithArgsCommand(tool_path));
}

void RegisterClassFiles(RegistryChanges& changes, const std::string& tool_path) {
  ReplaceDefaultValue(changes, changes.Create(kClassesRoot, kClassExtensionKey), kClassTypeText);
  WriteRunType(changes, kClassTypeKey, kClassDescriptionText, tool_path);
}

// A flag goes into the registry before the key it marks is made, so that an
// uninstallation removes that key even when making it fails part way.
void SetFlag(RegistryChanges& changes, RegKey settings, std::uint32_t flag, std::uint32_t* flags) {
  *flags |= flag;
  changes.WriteFlagWord(settings, *flags);
}

// A jar type of another program keeps its own double click and gains the
// console verbs. For the current user alone they go into the user's own
// classes, beside a type the machine may hold.
void AddConsoleVerbs(RegistryChanges& changes, RegKey settings, const std::string& type_name,
                     const std::string& tool_path, std::uint32_t* flags) {
  if (!changes.Exists(kClassesRoot, type_name.c_str())) SetFlag(changes, settings, kArchiveTypeFlag, flags);
  RegKey type = changes.Create(kClassesRoot, type_name.c_str());
  if (!changes.Exists(type, kShellKey)) SetFlag(changes, settings, kArchiveShellFlag, flags);
  SetFlag(changes, settings, kArchiveVerbsFlag, flags);
  RegKey shell = changes.Create(type, kShellKey);
  for (const VerbCommand& verb : kConsoleVerbs) WriteVerb(changes, shell, verb.verb, verb.command(tool_path));
}

// `.jar` that names an existing type keeps it; otherwise it names the tool's
// own type, and whatever it held before (an empty name, or one whose type is
// gone) is saved in `BackUp` first, byte for byte.
void RegisterArchiveFiles(RegistryChanges& changes, RegKey settings, const std::string& tool_path,
                          std::uint32_t* flags) {
  std::string other_type = changes.TypeSeen(kArchiveExtensionKey, kArchiveTypeKey);
  if (!other_type.empty()) {
    AddConsoleVerbs(changes, settings, other_type, tool_path, flags);
    return;
  }
  if (!changes.Exists(kClassesRoot, kArchiveExtensionKey)) SetFlag(changes, settings, kArchiveKeyFlag, flags);
  RegKey extension = changes.Create(kClassesRoot, kArchiveExtensionKey);
  std::optional<StoredValue> named = changes.Read(extension, kDefaultValue);
  if (named && named->Text() != kArchiveTypeKey) changes.WriteAndVerify(extension, kBackUpValue, *named);
  changes.Write(extension, kDefaultValue, kArchiveTypeText);
  WriteRunType(changes, kArchiveTypeKey, kArchiveDescriptionText, tool_path);
}

// The source file type: a type `.java` already names keeps its name and
// gains the verbs; otherwise `.java` is pointed at the tool's own type.
std::string ChooseSourceType(RegistryChanges& changes) {
  RegKey extension = changes.Create(kClassesRoot, kSourceExtensionKey);
  std::optional<StoredValue> named = changes.Read(extension, kDefaultValue);
  if (NamesOther(named, kSourceTypeKey)) return named->Text();
  changes.Write(extension, kDefaultValue, kSourceTypeText);
  return kSourceTypeKey;
}

void RegisterSourceFiles(RegistryChanges& changes, RegKey settings, const std::string& tool_path,
                         std::uint32_t* flags) {
  RegKey type = changes.Create(kClassesRoot, ChooseSourceType(changes).c_str());
  if (!changes.Read(type, kDefaultValue)) changes.Write(type, kDefaultValue, kSourceDescriptionText);

  // The flag goes first: once it is written, an uninstallation removes the
  // icon key even when creating or writing it fails here.
  if (!changes.Exists(type, kDefaultIconKey) || (*flags & kIconFlag)) {
    *flags |= kIconFlag;
    changes.WriteFlagWord(settings, *flags);
    changes.Write(changes.Create(type, kDefaultIconKey), kDefaultValue, SourceIconText(tool_path));
  }

  // A user's own Edit command is kept in `BackUp` so that uninstalling can
  // put it back rather than leave the type without one.
  RegKey shell = changes.Create(type, kShellKey);
  ReplaceDefaultValue(changes, changes.Create(changes.Create(shell, kEditVerb), kCommandKey),
                      kEditCommandText);
  WriteVerb(changes, shell, kCompileRunVerb, CompileRunCommand(tool_path));
  WriteVerb(changes, shell, kCompileVerb, CompileCommand(tool_path));

  // Only a `Shell` that holds the three verbs just written, and nothing
  // else, becomes the tool's: the flag first, so that an uninstallation
  // also removes a default verb whose writing fails.
  std::uint32_t verbs = 0;
  std::uint32_t longest = 0;
  if (changes.failed() || changes.registry().QueryInfoKey(shell, &verbs, &longest) != kRegSuccess ||
      verbs != 3)
    return;
  *flags |= kShellFlag;
  changes.WriteFlagWord(settings, *flags);
  changes.Write(shell, kDefaultValue, kSourceDefaultVerbText);
}

void EndIfRefused(const RunContext& context, const RegistryChanges& changes) {
  if (changes.failed()) RaiseRegistryChangeFailure(context, kMsgRegistryWriteRefused, changes.failure());
}

}  // namespace

void Install(RunContext& context) {
  Registry& registry = context.registry;
  const Conventions& conventions = context.conventions;
  const std::string& tool_path = context.arguments.at(0);

  if (!FindInWorkingDirectory(conventions.java_tool)) RaiseMessageCode(context, kMsgInstallHelp);

  // Paths that do not fit the layout's texts are refused before anything is
  // written, rather than stored cut short.
  if (tool_path.size() > kToolPathLimit) RaiseRegistrationFailure(context, kMsgToolPathTooLong);
  std::string install_directory;
  if (!GetWorkingDirectory(&install_directory) || install_directory.size() > kInstallDirectoryLimit) {
    RaiseRegistrationFailure(context, kMsgInstallDirectoryTooLong);
  }

  RegistrationScope scope = ScopeToInstall(registry);
  RegistryChanges changes(registry, scope);
  changes.Begin();
  // Without the settings key and `Run` nothing else the tool wrote would
  // work: they go first.
  RegKey settings = changes.CreatePath(kLocalMachine, kSettingsPath, kToolKey);
  changes.Write(settings, kDefaultValue, kSettingsText);
  std::uint32_t flags = ReadFlagWord(registry, settings);
  changes.WriteFlagWord(settings, flags);
  changes.WriteToolPath(settings, kRunValue, JavaToolPath(install_directory, conventions));
  bool javac_found = FindInWorkingDirectory(conventions.javac_tool);
  if (javac_found)
    changes.WriteToolPath(settings, kCompileValue, CompilerToolPath(install_directory, conventions));

  RegKey uninstall = changes.CreatePath(kLocalMachine, kUninstallPath, kToolKey);
  changes.Write(uninstall, kDisplayNameValue, kDisplayNameText);
  changes.Write(uninstall, kUninstallStringValue, UninstallCommand(tool_path));

  RegisterClassFiles(changes, tool_path);
  if (javac_found) RegisterSourceFiles(changes, settings, tool_path, &flags);
  RegisterArchiveFiles(changes, settings, tool_path, &flags);
  EndIfRefused(context, changes);
  // A Linux desktop's file managers read files of their own, not the
  // registry. They are written before the commit, so that the registry's
  // lock also keeps concurrent runs off them; the registry is kept when they
  // fail, as a later install completes them.
  DesktopResult desktop = InstallDesktopIntegration(tool_path, javac_found);
  changes.Commit();
  EndIfRefused(context, changes);
  if (!desktop.done) RaiseDesktopFailure(context, kMsgDesktopInstallFailed, desktop);
  PrintMessage(context.console, kMsgInstalled);
  if (javac_found) PrintMessage(context.console, kMsgCompileMenu);
  if (scope.ForUser()) Print(context.console, kInstalledForUserText);
  NoteUserChoices(registry, scope, context.console, javac_found);
  RaiseMessageCode(context, kMsgUninstallHint);
}

}  // namespace nerbo
