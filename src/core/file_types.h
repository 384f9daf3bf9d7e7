// The kinds of file the tool handles, named once for every mode: their
// extensions, how the file managers describe them and the verbs offered on
// each.
#pragma once

#include <cstddef>

namespace nerbo {

inline constexpr char kClassExtension[] = ".class";
inline constexpr char kSourceExtension[] = ".java";
inline constexpr char kArchiveExtension[] = ".jar";
inline constexpr std::size_t kSourceExtensionLength = sizeof kSourceExtension - 1;

inline constexpr char kClassDescription[] = "Classi Java";
inline constexpr char kSourceDescription[] = "Java File";
inline constexpr char kArchiveDescription[] = "Archivi Java";

// Verbs, as the menus show them.
inline constexpr char kRunVerb[] = "Run";
inline constexpr char kRunWithArgsVerb[] = "Run with args...";
inline constexpr char kEditVerb[] = "Edit";
inline constexpr char kCompileRunVerb[] = "Compile+Run";
inline constexpr char kCompileVerb[] = "Compile";
// What a jar type of another program gains beside its own double click.
inline constexpr char kRunInConsoleVerb[] = "Run in console";
inline constexpr char kRunInConsoleWithArgsVerb[] = "Run in console with args...";

}  // namespace nerbo
