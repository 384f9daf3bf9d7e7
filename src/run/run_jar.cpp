#include "run/run_jar.h"

#include "core/message_code.h"
#include "core/messages.h"
#include "core/settings_key.h"
#include "run/child_arguments.h"
#include "run/jar_archive.h"
#include "run/jar_manifest.h"
#include "run/run_class.h"

namespace nerbo {
namespace {

const char* WhyUnreadable(ArchiveFailure failure) {
  switch (failure) {
    case ArchiveFailure::kNotAnArchive:
      return "non e' un archivio zip";
    case ArchiveFailure::kDamaged:
      return "l'archivio e' troncato o danneggiato";
    case ArchiveFailure::kManifestTooLarge:
      return "il manifest supera 1 MB";
    case ArchiveFailure::kManifestOverflows:
      return "il manifest si espande oltre la dimensione dichiarata";
    case ArchiveFailure::kManifestUnsupported:
      return "il manifest e' cifrato o compresso in un formato non supportato";
    default:
      return "la lettura non e' riuscita";
  }
}

// Ends the run before java starts when the archive cannot be read or names
// no class to start, in words the user reads: java would only say
// "Invalid or corrupt jarfile" or "no main manifest attribute".
void EndUnlessRunnable(const RunContext& context) {
  const std::string& jar = context.found_name;
  ManifestRead manifest = ReadJarManifest(jar);
  if (!manifest.read) {
    RaiseWithErrorLine(
        context, kMsgJarUnreadable,
        "Il file " + jar + " non e' un archivio jar leggibile: " + WhyUnreadable(manifest.failure) + ".\n\n");
  }
  if (MainClassOf(manifest.text).empty()) {
    RaiseWithErrorLine(context, kMsgJarWithoutMainClass,
                       "L'archivio " + jar + " non indica la classe da avviare (Main-Class nel manifest):\n" +
                           "e' una libreria, da usare nel classpath di un programma java.\n\n");
  }
}

}  // namespace

void RunJar(RunContext& context) {
  EndUnlessRunnable(context);
  std::optional<std::string> java = ReadToolPath(context.registry, context.settings_key, kRunValue);

  PrintMessage(context.console, kMsgStarting);
  Print(context.console, "(jar: \"" + context.found_name + "\").\n");
  PrintMessage(context.console, kMsgWait);

  RunJava(
      context, java,
      {context.conventions.java_tool, "-jar", FileArgument(context.conventions, TargetFileName(context))});
}

}  // namespace nerbo
