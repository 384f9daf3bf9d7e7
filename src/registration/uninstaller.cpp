#include "registration/uninstaller.h"

#include <optional>
#include <string>

#include "core/message_code.h"
#include "core/messages.h"
#include "desktop/desktop_integration.h"
#include "registration/registration_failure.h"
#include "registration/registry_changes.h"
#include "registration/registry_layout.h"
#include "registration/scope_choice.h"

namespace nerbo {
namespace {

// The type a value saved in `BackUp` goes back with.
enum class RestoredType { kText, kAsSaved };

// Puts a value saved in `BackUp` back as the default value of `key`; the
// backup goes only once the value is back. False when there is none (a
// saved empty text counts as none where it goes back as a plain text).
bool RestoreBackUp(RegistryChanges& changes, RegKey key, RestoredType restored_type) {
  std::optional<StoredValue> saved = changes.Read(key, kBackUpValue);
  if (!saved || (restored_type == RestoredType::kText && saved->bytes.size() <= 1)) return false;
  if (restored_type == RestoredType::kText) saved->type = kRegSz;
  changes.WriteAndVerify(key, kDefaultValue, *saved);
  changes.DeleteValue(key, kBackUpValue);
  return true;
}

bool DefaultValueIs(RegistryChanges& changes, RegKey key, LayoutText own) {
  std::optional<StoredValue> value = changes.Read(key, kDefaultValue);
  return value && value->Text() == own.text;
}

// `.class` names the type it named before installation again, or goes when
// it names the tool's own type (or nothing readable).
void RestoreClassExtension(RegistryChanges& changes) {
  RegKey extension = changes.Open(kClassesRoot, kClassExtensionKey);
  // The saved name goes back as a plain text, whatever type it was saved as.
  if (RestoreBackUp(changes, extension, RestoredType::kText)) return;
  std::optional<StoredValue> named = changes.Read(extension, kDefaultValue);
  if (!named || named->Text() == kClassTypeKey) changes.DeleteKey(kClassesRoot, kClassExtensionKey);
}

// A type that `.java` named before installation keeps everything but the
// tool's verbs, and the keys the flag word says the installer created.
void RemoveVerbsFromReusedType(RegistryChanges& changes, const std::string& type_name, std::uint32_t flags) {
  RegKey type = changes.Open(kClassesRoot, type_name.c_str());
  if (flags & kIconFlag) changes.DeleteKey(type, kDefaultIconKey);

  RegKey shell = changes.Open(type, kShellKey);
  changes.DeleteTree(shell, kCompileVerb);
  // An Edit command the installer replaced comes back with its own type
  // (often an expandable text); the tool's own goes whole; any other is the
  // user's and stays.
  RegKey edit_command = changes.Open(changes.Open(shell, kEditVerb), kCommandKey);
  if (!RestoreBackUp(changes, edit_command, RestoredType::kAsSaved) &&
      DefaultValueIs(changes, edit_command, kEditCommandText)) {
    changes.DeleteTree(shell, kEditVerb);
  }
  changes.DeleteTree(shell, kCompileRunVerb);

  if (!(flags & kShellFlag)) return;
  changes.DeleteKey(type, kShellKey);
  // A `Shell` that keeps a verb of the user's must not go on naming the
  // default verb the installer gave it, which is gone.
  RegKey kept = changes.Open(type, kShellKey);
  if (DefaultValueIs(changes, kept, kSourceDefaultVerbText)) changes.DeleteValue(kept, kDefaultValue);
}

void RemoveSourceTypes(RegistryChanges& changes, std::uint32_t flags) {
  changes.DeleteTree(kClassesRoot, kSourceTypeKey);
  std::optional<StoredValue> named =
      changes.Read(changes.Open(kClassesRoot, kSourceExtensionKey), kDefaultValue);
  if (!named) return;
  std::string type_name = named->Text();
  if (type_name == kSourceTypeKey) {
    changes.DeleteTree(kClassesRoot, kSourceExtensionKey);
  } else if (!type_name.empty()) {
    RemoveVerbsFromReusedType(changes, type_name, flags);
  }
}

// The jar type of another program loses the console verbs, and the `Shell`
// (and, for the current user alone, the type's key) the installer made for
// them.
void RemoveConsoleVerbs(RegistryChanges& changes, const std::string& type_name, std::uint32_t flags) {
  RegKey type = changes.Open(kClassesRoot, type_name.c_str());
  RegKey shell = changes.Open(type, kShellKey);
  for (const VerbCommand& verb : kConsoleVerbs) changes.DeleteTree(shell, verb.verb);
  if (flags & kArchiveShellFlag) changes.DeleteKey(type, kShellKey);
  if (flags & kArchiveTypeFlag) changes.DeleteKey(kClassesRoot, type_name.c_str());
}

// `.jar` holds again what it held before installation: the value saved in
// `BackUp`, no default value, or no key at all, as the flags tell.
void RestoreArchiveExtension(RegistryChanges& changes, std::uint32_t flags) {
  changes.DeleteTree(kClassesRoot, kArchiveTypeKey);
  RegKey extension = changes.Open(kClassesRoot, kArchiveExtensionKey);
  RestoreBackUp(changes, extension, RestoredType::kAsSaved);
  std::optional<StoredValue> named = changes.Read(extension, kDefaultValue);
  if (named && named->Text() == kArchiveTypeKey) changes.DeleteValue(extension, kDefaultValue);
  if ((!named || named->Text() == kArchiveTypeKey) && (flags & kArchiveKeyFlag))
    changes.DeleteKey(kClassesRoot, kArchiveExtensionKey);
  std::string other_type = changes.TypeSeen(kArchiveExtensionKey, kArchiveTypeKey);
  // Any of the flags: an installation that failed part way may have made the
  // type's key before it got to the verbs.
  const std::uint32_t verb_flags = kArchiveVerbsFlag | kArchiveShellFlag | kArchiveTypeFlag;
  if (!other_type.empty() && (flags & verb_flags)) RemoveConsoleVerbs(changes, other_type, flags);
}

}  // namespace

void Uninstall(RunContext& context) {
  RegistrationScope scope = ScopeToUninstall(context.registry);
  RegistryChanges changes(context.registry, scope);
  changes.Begin();

  changes.DeleteTree(kClassesRoot, kClassTypeKey);
  RestoreClassExtension(changes);

  // SOFTWARE\Vesk itself stays; only the settings key under it goes.
  RegKey vendor = changes.Open(changes.Open(kLocalMachine, kSettingsPath[0]), kSettingsPath[1]);
  std::uint32_t flags = ReadFlagWord(context.registry, changes.Open(vendor, kToolKey));
  RemoveSourceTypes(changes, flags);
  RestoreArchiveExtension(changes, flags);
  changes.DeleteKey(vendor, kToolKey);

  RegKey uninstall = kLocalMachine;
  for (const char* level : kUninstallPath) uninstall = changes.Create(uninstall, level);
  changes.DeleteKey(uninstall, kToolKey);

  // What a Linux desktop was given goes even when the registry refused a
  // part; before the commit, so that the registry's lock also keeps
  // concurrent runs off the desktop's files.
  DesktopResult desktop = UninstallDesktopIntegration();
  changes.Commit();
  if (changes.failed()) RaiseRegistryChangeFailure(context, kMsgRemovalRefused, changes.failure());
  if (!desktop.done) RaiseDesktopFailure(context, kMsgDesktopRemovalFailed, desktop);
  if (!scope.ForUser() && OpenSettingsKeyToRead(context.registry, kUserScope))
    Print(context.console, kUserRegistrationRemainsText);
  RaiseMessageCode(context, kMsgUninstalled);
}

}  // namespace nerbo
