#include "registration/uninstaller.h"

#include <optional>
#include <string>

#include "core/message_code.h"
#include "desktop/desktop_integration.h"
#include "registration/delete_key_tree.h"
#include "registration/registration_failure.h"
#include "registration/registry_layout.h"

namespace nerbo {
namespace {

// The type a value saved in `BackUp` goes back with.
enum class RestoredType { kText, kAsSaved };

// Runs the removal steps and remembers the first change the registry
// refused, so that a run without the right to change it is not reported as
// done. Keys that are missing are nothing to remove and no refusal.
class Removal {
 public:
  explicit Removal(Registry& registry) : registry_(registry) {}

  long refusal() const { return refusal_; }

  RegKey Open(RegKey parent, const char* name) {
    RegKey key = 0;
    long result = registry_.OpenKey(parent, name, &key);
    Note(result);
    return result == kRegSuccess ? key : 0;
  }

  void DeleteTree(RegKey parent, const char* name) { Note(DeleteKeyTree(registry_, parent, name)); }

  // A key that still holds subkeys is refused by design and stays: only a
  // refusal of a key that could have gone counts.
  void DeleteSingleKey(RegKey parent, const char* name) {
    long result = registry_.DeleteKey(parent, name);
    if (result == kRegAccessDenied && HasSubkeys(parent, name)) return;
    Note(result);
  }

  // Puts a value saved in `BackUp` back as the default value of `key` and
  // removes the backup; false when there is none to put back.
  bool RestoreBackUp(RegKey key, RestoredType restored_type) {
    std::optional<StoredValue> saved = ReadValue(registry_, key, kBackUpValue);
    if (!saved || saved->bytes.size() <= 1) return false;
    std::uint32_t type = restored_type == RestoredType::kText ? kRegSz : saved->type;
    Note(registry_.SetValue(key, kDefaultValue, type, saved->bytes.data(),
                            static_cast<std::uint32_t>(saved->bytes.size())));
    Note(registry_.DeleteValue(key, kBackUpValue));
    return true;
  }

  void Note(long result) {
    if (result == kRegAccessDenied && refusal_ == kRegSuccess) refusal_ = result;
  }

  Registry& registry() { return registry_; }

 private:
  bool HasSubkeys(RegKey parent, const char* name) {
    RegKey key = 0;
    std::uint32_t subkeys = 0;
    std::uint32_t longest = 0;
    return registry_.OpenKey(parent, name, &key) == kRegSuccess &&
           registry_.QueryInfoKey(key, &subkeys, &longest) == kRegSuccess && subkeys > 0;
  }

  Registry& registry_;
  long refusal_ = kRegSuccess;
};

// `.class` names the type it named before installation again, or goes when
// it names the tool's own type (or nothing readable).
void RestoreClassExtension(Removal& removal) {
  RegKey extension = removal.Open(kClassesRoot, kClassExtensionKey);
  // The saved name goes back as a plain text, whatever type it was saved as.
  if (removal.RestoreBackUp(extension, RestoredType::kText)) return;
  std::optional<StoredValue> named = ReadValue(removal.registry(), extension, kDefaultValue);
  if (!named || named->Text() == kClassTypeKey) removal.DeleteSingleKey(kClassesRoot, kClassExtensionKey);
}

// A type that `.java` named before installation keeps everything but the
// tool's verbs, and the keys the flag word says the installer created.
void RemoveVerbsFromReusedType(Removal& removal, const std::string& type_name, std::uint32_t flags) {
  RegKey type = removal.Open(kClassesRoot, type_name.c_str());
  if (flags & kIconFlag) removal.DeleteSingleKey(type, kDefaultIconKey);

  RegKey shell = removal.Open(type, kShellKey);
  removal.DeleteTree(shell, kCompileVerb);
  // An Edit command the installer replaced comes back with its own type
  // (often an expandable text); without one the tool's Edit goes whole.
  RegKey edit_command = removal.Open(removal.Open(shell, kEditVerb), kCommandKey);
  if (!removal.RestoreBackUp(edit_command, RestoredType::kAsSaved)) removal.DeleteTree(shell, kEditVerb);
  removal.DeleteTree(shell, kCompileRunVerb);

  if (flags & kShellFlag) removal.DeleteSingleKey(type, kShellKey);
}

void RemoveSourceTypes(Removal& removal, std::uint32_t flags) {
  removal.DeleteTree(kClassesRoot, kSourceTypeKey);
  RegKey extension = removal.Open(kClassesRoot, kSourceExtensionKey);
  std::optional<StoredValue> named = ReadValue(removal.registry(), extension, kDefaultValue);
  if (!named) return;
  std::string type_name = named->Text();
  if (type_name == kSourceTypeKey) {
    removal.DeleteTree(kClassesRoot, kSourceExtensionKey);
  } else if (!type_name.empty()) {
    RemoveVerbsFromReusedType(removal, type_name, flags);
  }
}

}  // namespace

void Uninstall(RunContext& context) {
  // The whole removal is one change of the registry, as the installation.
  long begun = context.registry.BeginChanges();
  if (begun != kRegSuccess) RaiseRegistrationFailure(context.console, kMsgRemovalRefused, begun);
  Removal removal(context.registry);

  removal.DeleteTree(kClassesRoot, kClassTypeKey);
  RestoreClassExtension(removal);

  // SOFTWARE\Vesk itself stays; only the settings key under it goes.
  RegKey vendor = removal.Open(removal.Open(kLocalMachine, kSettingsPath[0]), kSettingsPath[1]);
  RegKey settings = removal.Open(vendor, kToolKey);
  std::uint32_t flags = ReadFlagWord(context.registry, settings);

  RemoveSourceTypes(removal, flags);
  removal.DeleteSingleKey(vendor, kToolKey);

  RegKey uninstall = 0;
  removal.Note(CreateKeyPath(context.registry, kLocalMachine, kUninstallPath, &uninstall));
  removal.DeleteSingleKey(uninstall, kToolKey);

  // What a Linux desktop was given goes even when the registry refused a part.
  DesktopResult desktop = UninstallDesktopIntegration();
  long committed = context.registry.CommitChanges();
  if (committed != kRegSuccess) RaiseChangesNotSaved(context.console, kMsgRemovalRefused);
  if (removal.refusal() != kRegSuccess) {
    RaiseRegistrationFailure(context.console, kMsgRemovalRefused, removal.refusal());
  }
  if (!desktop.done) RaiseDesktopFailure(context.console, kMsgDesktopRemovalFailed, desktop);
  RaiseMessageCode(kMsgUninstalled);
}

}  // namespace nerbo
