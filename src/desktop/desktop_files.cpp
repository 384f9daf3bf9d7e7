#include "desktop/desktop_files.h"

#include <algorithm>
#include <set>

#include "desktop/desktop_entry.h"
#include "desktop/file_manager_menus.h"

namespace nerbo {
namespace {

constexpr char kServiceMenuDirectory[] = "kio/servicemenus";
constexpr char kNemoActionDirectory[] = "nemo/actions";
// Nautilus shows a folder of scripts as a submenu of its Scripts menu.
constexpr char kNautilusScriptDirectory[] = "nautilus/scripts/Nerbo";

}  // namespace

std::vector<DesktopFile> VerbFiles(const std::string& data_directory, const std::vector<DesktopVerb>& verbs) {
  auto below = [&data_directory](const char* directory, const std::string& name) {
    return data_directory + "/" + directory + "/" + name;
  };
  std::vector<DesktopFile> files;
  std::set<std::string> scripts;
  for (const DesktopVerb& verb : verbs) {
    const std::string entry = below(kApplicationsDirectory, verb.entry + ".desktop");
    files.push_back({entry, DesktopEntryText(verb)});
    files.push_back({below(kNemoActionDirectory, "nerbo-" + verb.id + ".nemo_action"), NemoActionText(verb)});
    // Nautilus shows every script for every file: one script serves each
    // name, and the tool tells a class from a jar itself.
    if (scripts.insert(verb.name).second)
      files.push_back({below(kNautilusScriptDirectory, verb.name), NautilusScriptText(verb, entry), true});
  }
  for (FileKind kind : kFileKinds) {
    auto of_kind = [kind](const DesktopVerb& verb) { return verb.kind == kind; };
    if (std::any_of(verbs.begin(), verbs.end(), of_kind)) {
      files.push_back({below(kServiceMenuDirectory, std::string(KindName(kind)) + ".desktop"),
                       DolphinServiceMenuText(kind, verbs), true});
    }
  }
  return files;
}

}  // namespace nerbo
