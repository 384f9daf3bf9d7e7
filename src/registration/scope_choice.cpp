#include "registration/scope_choice.h"

#include "core/settings_key.h"

namespace nerbo {
namespace {

constexpr char kMachineClassesKey[] = "Classes";

// Opens HKEY_LOCAL_MACHINE\SOFTWARE and the machine's part of the classes
// (its Classes key) with the access the changes ask for. Only a refusal
// counts: a registry that lacks the keys (the Linux registry file) has no
// rights to refuse.
bool MayChangeMachineKeys(Registry& registry) {
  RegKey software = 0;
  RegKey classes = 0;
  long result = registry.OpenKey(kLocalMachine, kSettingsPath[0], &software);
  if (result == kRegSuccess) result = registry.OpenKey(software, kMachineClassesKey, &classes);
  return result != kRegAccessDenied;
}

}  // namespace

RegistrationScope ScopeToInstall(Registry& registry) {
  return MayChangeMachineKeys(registry) ? kMachineScope : kUserScope;
}

RegistrationScope ScopeToUninstall(Registry& registry) {
  bool for_user = OpenSettingsKeyToRead(registry, kUserScope) != 0;
  bool for_machine = OpenSettingsKeyToRead(registry, kMachineScope) != 0;
  if (for_user != for_machine) return for_user ? kUserScope : kMachineScope;
  return ScopeToInstall(registry);
}

}  // namespace nerbo
