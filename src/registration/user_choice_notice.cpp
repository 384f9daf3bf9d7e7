#include "registration/user_choice_notice.h"

#include <optional>
#include <string>

#include "core/messages.h"
#include "registration/registry_layout.h"
#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

constexpr char kFileExtsPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
constexpr char kUserChoiceKey[] = "\\UserChoice";
constexpr char kProgIdValue[] = "ProgId";

// The value `value_name` of the key at `path` below `root`, opened for
// reading only: nothing here is written.
std::optional<StoredValue> ReadValueAt(Registry& registry, RegKey root, const std::string& path,
                                       const char* value_name) {
  RegKey key = 0;
  if (registry.OpenKeyToRead(root, path.c_str(), &key) != kRegSuccess) return std::nullopt;
  return ReadValue(registry, key, value_name);
}

// The user chose a type for `extension` that is not the one the scope's
// classes name (type names ignore letter case, as the registry's key names
// do).
bool ChoiceOverrides(Registry& registry, const RegistrationScope& scope, const char* extension) {
  std::optional<StoredValue> chosen = ReadValueAt(
      registry, kCurrentUser, std::string(kFileExtsPath) + extension + kUserChoiceKey, kProgIdValue);
  if (!chosen || chosen->Text().empty()) return false;
  std::string installed_at =
      scope.classes_key ? std::string(scope.classes_key) + "\\" + extension : extension;
  std::optional<StoredValue> installed =
      ReadValueAt(registry, scope.classes_root, installed_at, kDefaultValue);
  return !installed || !EqualsIgnoreCase(chosen->Text(), installed->Text());
}

}  // namespace

void NoteUserChoices(Registry& registry, const RegistrationScope& scope, Console& console,
                     bool with_sources) {
  std::string extensions;
  if (ChoiceOverrides(registry, scope, kClassExtensionKey)) extensions = kClassExtensionKey;
  if (with_sources && ChoiceOverrides(registry, scope, kSourceExtensionKey)) {
    extensions += (extensions.empty() ? "" : " e ") + std::string(kSourceExtensionKey);
  }
  if (extensions.empty()) return;
  Print(console,
        "Nota: Esplora risorse apre i file " + extensions +
            " con l'app scelta dall'utente; per usare Nerbo: clic destro su un file, \"Apri con\" -> "
            "\"Scegli un'altra app\".\n\n");
}

}  // namespace nerbo
