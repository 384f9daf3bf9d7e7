#include "desktop/desktop_verbs.h"

#include "core/file_types.h"
#include "core/switches.h"

namespace nerbo {

std::vector<DesktopVerb> DesktopVerbs(const std::string& tool, bool with_sources,
                                      const std::vector<std::string>& editor) {
  // The two defaults keep the entry ids that mimeapps.list names since the
  // first installations, so that installing again finds its own lines there
  // and the lines they replaced stay on record.
  std::vector<DesktopVerb> verbs = {
      {"run", kRunVerb, "nerbo-class", FileKind::kClass, {{tool}, {}}},
      {"run-with-args", kRunWithArgsVerb, "nerbo-run-with-args", FileKind::kClass, {{tool}, {kPromptSwitch}}},
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

const char* MimeTypeOf(FileKind kind) { return kind == FileKind::kClass ? kClassMimeType : kSourceMimeType; }

const char* KindName(FileKind kind) { return kind == FileKind::kClass ? "nerbo-class" : "nerbo-source"; }

}  // namespace nerbo
