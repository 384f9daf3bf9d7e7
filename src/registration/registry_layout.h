// Every key, value, literal and text of the tool's registry layout, defined
// once for the installer and the uninstaller (the settings key that the launch
// modes read too is in core/settings_key.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/conventions.h"
#include "core/file_types.h"
#include "core/settings_key.h"
#include "registry/registry.h"

namespace nerbo {

// A literal text as the layout writes it: its bytes with the terminating
// zero, so `size` is the length plus one.
struct LayoutText {
  const char* text;
  std::uint32_t size;
};

template <std::size_t N>
constexpr LayoutText Literal(const char (&text)[N]) {
  return {text, static_cast<std::uint32_t>(N)};
}

// Key paths, one level per element, each level relative to the previous one
// (the settings key's in core/settings_key.h).
inline constexpr const char* kUninstallPath[] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion",
                                                 "Uninstall"};

// Keys under HKEY_CLASSES_ROOT and their subkeys.
inline constexpr const char* kClassExtensionKey = kClassExtension;
inline constexpr const char* kSourceExtensionKey = kSourceExtension;
inline constexpr char kClassTypeKey[] = "ClassFile.Nerbo";
inline constexpr char kSourceTypeKey[] = "JavaFile.Nerbo";
inline constexpr const char* kArchiveExtensionKey = kArchiveExtension;
inline constexpr char kArchiveTypeKey[] = "JarFile.Nerbo";
inline constexpr char kDefaultIconKey[] = "DefaultIcon";
inline constexpr char kShellKey[] = "Shell";
inline constexpr char kCommandKey[] = "command";

// Value names; the empty name is a key's default value.
inline constexpr char kDefaultValue[] = "";
inline constexpr char kDisplayNameValue[] = "DisplayName";
inline constexpr char kUninstallStringValue[] = "UninstallString";
inline constexpr char kUninstallInfoValue[] = "UninstallInfo";
inline constexpr char kBackUpValue[] = "BackUp";

// Literal texts, each written with its terminator.
inline constexpr LayoutText kDisplayNameText = Literal("Nerbo by Brandovelkian");
inline constexpr LayoutText kSettingsText = Literal("Nerbo.exe");
inline constexpr LayoutText kClassTypeText = Literal(kClassTypeKey);
inline constexpr LayoutText kClassDescriptionText = Literal(kClassDescription);
inline constexpr LayoutText kClassDefaultVerbText = Literal(kRunVerb);
inline constexpr LayoutText kSourceTypeText = Literal(kSourceTypeKey);
inline constexpr LayoutText kSourceDescriptionText = Literal(kSourceDescription);
inline constexpr LayoutText kSourceDefaultVerbText = Literal(kCompileRunVerb);
inline constexpr LayoutText kEditCommandText = Literal("notepad %1");
inline constexpr LayoutText kArchiveTypeText = Literal(kArchiveTypeKey);
inline constexpr LayoutText kArchiveDescriptionText = Literal(kArchiveDescription);

// Bits of the flag word `UninstallInfo`: which keys of a reused source file
// type the installer created, so the uninstaller removes them too.
inline constexpr std::uint32_t kIconFlag = 1;
inline constexpr std::uint32_t kShellFlag = 2;
// For `.jar`: the installer created the `.jar` key; it added its console
// verbs to the type `.jar` named; it created that type's `Shell` for them.
inline constexpr std::uint32_t kArchiveKeyFlag = 4;
inline constexpr std::uint32_t kArchiveVerbsFlag = 8;
inline constexpr std::uint32_t kArchiveShellFlag = 16;
inline constexpr std::uint32_t kArchiveTypeFlag = 32;

// The icon text (tool path + ",0" + terminator) fits 256 bytes.
inline constexpr std::size_t kToolPathLimit = 253;
// The `Compile` text (directory + "\\javac.exe" + terminator) fits 256 bytes.
inline constexpr std::size_t kInstallDirectoryLimit = 245;

// Text builders, from the tool path. The commands quote a tool path that
// holds a blank or a tab; the icon texts never do (the shell reads them up to
// the last comma).
std::string UninstallCommand(const std::string& tool_path);
std::string ClassIconText(const std::string& tool_path);
std::string SourceIconText(const std::string& tool_path);
std::string RunCommand(const std::string& tool_path);
std::string RunWithArgsCommand(const std::string& tool_path);
std::string CompileRunCommand(const std::string& tool_path);
std::string CompileCommand(const std::string& tool_path);

// A verb and the builder of its command from the tool path.
struct VerbCommand {
  const char* verb;
  std::string (*command)(const std::string& tool_path);
};
// The verbs a jar type of another program gains: its own double click stays
// as it is (a windowed program keeps opening without a console).
inline constexpr VerbCommand kConsoleVerbs[] = {{kRunInConsoleVerb, RunCommand},
                                                {kRunInConsoleWithArgsVerb, RunWithArgsCommand}};

// The `Run` and `Compile` texts: the kit tools' full paths in the install
// directory, joined with the platform's names and separator.
std::string JavaToolPath(const std::string& install_directory, const Conventions& conventions);
std::string CompilerToolPath(const std::string& install_directory, const Conventions& conventions);

// Writers with the layout's byte counts: a built text with its terminator,
// a literal with its own size, a kit tool path without a terminator.
long WriteText(Registry& registry, RegKey key, const char* value_name, const std::string& text);
long WriteText(Registry& registry, RegKey key, const char* value_name, LayoutText text);
long WriteToolPath(Registry& registry, RegKey key, const char* value_name, const std::string& path);

// A value that names something other than `own`: read, more than the empty
// string's terminator, and a different text (letter case counts).
bool NamesOther(const std::optional<StoredValue>& value, const char* own);

// The flag word: 4 bytes of any type, little-endian; 0 when it cannot be read.
std::uint32_t ReadFlagWord(Registry& registry, RegKey settings);
long WriteFlagWord(Registry& registry, RegKey settings, std::uint32_t flags);

}  // namespace nerbo
