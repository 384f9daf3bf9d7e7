#include "desktop/desktop_verbs.h"

#include "core/file_types.h"
#include "core/switches.h"

namespace nerbo {
namespace {

struct KindFacts {
  const char* mime_type;
  const char* name;
  const char* description;
  bool keeps_the_users_default;
};

// In the order of FileKind.
constexpr KindFacts kKindFacts[] = {
    {kClassMimeType, "nerbo-class", kClassDescription, false},
    {kSourceMimeType, "nerbo-source", kSourceDescription, false},
    {kArchiveMimeType, "nerbo-archive", kArchiveDescription, true},
};

const KindFacts& FactsOf(FileKind kind) { return kKindFacts[static_cast<int>(kind)]; }

}  // namespace

std::vector<DesktopVerb> DesktopVerbs(const std::string& tool, bool with_sources,
                                      const std::vector<std::string>& editor) {
  // The two defaults keep the entry ids that mimeapps.list names since the
  // first installations, so that installing again finds its own lines there
  // and the lines they replaced stay on record.
  std::vector<DesktopVerb> verbs = {
      {"run", kRunVerb, "nerbo-class", FileKind::kClass, {{tool}, {}}},
      {"run-with-args", kRunWithArgsVerb, "nerbo-run-with-args", FileKind::kClass, {{tool}, {kPromptSwitch}}},
      {"jar-run", kRunVerb, "nerbo-jar", FileKind::kArchive, {{tool}, {}}},
      {"jar-run-with-args",
       kRunWithArgsVerb,
       "nerbo-jar-run-with-args",
       FileKind::kArchive,
       {{tool}, {kPromptSwitch}}},
  };
  if (!with_sources) return verbs;
  verbs.push_back({"compile-run",
                   kCompileRunVerb,
                   "nerbo-source",
                   FileKind::kSource,
                   {{tool}, {kRunAfterCompileSwitch}}});
  verbs.push_back({"compile", kCompileVerb, "nerbo-compile", FileKind::kSource, {{tool}, {}}});
  if (!editor.empty()) verbs.push_back({"edit", kEditVerb, "nerbo-edit", FileKind::kSource, {editor, {}}});
  return verbs;
}

const char* MimeTypeOf(FileKind kind) { return FactsOf(kind).mime_type; }

const char* KindName(FileKind kind) { return FactsOf(kind).name; }

const char* DescriptionOf(FileKind kind) { return FactsOf(kind).description; }

bool KeepsTheUsersDefault(FileKind kind) { return FactsOf(kind).keeps_the_users_default; }

}  // namespace nerbo
