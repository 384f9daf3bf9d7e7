#include "launcher/usage.h"

#include <string>

#include "core/message_code.h"
#include "core/messages.h"
#include "core/switches.h"
#include "nerbo_version.h"

namespace nerbo {
namespace {

struct UsageLine {
  std::string arguments;
  const char* meaning;
};

std::string UsageText(const Conventions& conventions) {
  const std::string file_class = " FILE.class";
  const std::string file_java = " FILE.java";
  const std::string file_jar = " FILE.jar";
  std::string switches = std::string(" ") + conventions.help_switch;
  const char* switches_meaning = "questo testo, con la versione";
  if (conventions.version_switch) {
    switches += std::string(" | ") + conventions.version_switch;
    switches_meaning = "questo testo | la versione";
  }
  const UsageLine lines[] = {
      {"",
       "installa per i file .class, .java e .jar: da eseguire una volta nella directory bin del JDK, "
       "accanto a java e javac"},
      {std::string(" ") + kUninstallSwitch, "disinstalla e ripristina le associazioni sostituite"},
      {file_class + " [ARGOMENTI...]", "esegue la classe con java, dalla radice del suo package"},
      {file_class + " " + kPromptSwitch, "esegue la classe, chiedendo prima gli argomenti"},
      {file_java, "compila il sorgente con javac"},
      {file_java + " " + kRunAfterCompileSwitch + " [ARGOMENTI...]", "compila ed esegue la classe"},
      {file_jar + " [ARGOMENTI...]", "esegue l'archivio con java -jar, dalla sua directory"},
      {file_jar + " " + kPromptSwitch, "esegue l'archivio, chiedendo prima gli argomenti"},
      {switches, switches_meaning},
  };
  std::string text = std::string(conventions.program_name) + " " + NERBO_VERSION +
                     ": esegue e compila programmi Java con un doppio click.\n\nUso:\n";
  for (const UsageLine& line : lines) {
    text += std::string("  ") + conventions.program_name + line.arguments + "\n      " + line.meaning + "\n";
  }
  return text + "\nLo stato d'uscita e' il codice del messaggio che chiude l'esecuzione.\n";
}

}  // namespace

void AnswerUsageSwitch(RunContext& context) {
  const Conventions& conventions = context.conventions;
  const std::string& argument = context.arguments[1];
  if (argument == conventions.help_switch) {
    Print(context.console, UsageText(conventions));
  } else if (conventions.version_switch && argument == conventions.version_switch) {
    Print(context.console, std::string(conventions.program_name) + " " + NERBO_VERSION + "\n");
  } else {
    return;
  }
  RaiseMessageCode(context, kMsgUsage);
}

}  // namespace nerbo
