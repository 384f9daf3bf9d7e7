#include "core/messages.h"

#include "nerbo_version.h"

#include "core/error_text.h"
#include "core/message_code.h"
#include "runtime/error_number.h"

namespace nerbo {
namespace {

constexpr char kAuthorMail[] = "brandovelkian@vesk.example";
constexpr char kAuthorSite[] = "http://www.vesk.example/nerbo";
constexpr int kRuleLength = 55;

const char* const kInstallHelp[] = {
    "Se vuoi installare questo programma, devi copiarlo nella directory jdk\\bin,\n",
    "poi eseguirlo da li'. Automaticamente verranno create delle chiavi nel registro\n",
    "in modo che cliccando su una classe java (estensione .class), questa venga \n",
    "eseguita tramite l'interprete java.exe presente nella directory jdk\\bin.\n",
    "Verra' creata anche una associazione per i file .java per permettere di \n",
    "compilarli ed eseguirli con un semplice doppio click.\n",
    "Saranno aggiunti anche menu' contestuali per i file .java e .class.\n\n",
    "Le chiavi aggiunte nel registro sono in HKEY_CLASSES_ROOT e sono: \n",
    "\t.class\t.java\tClassFile.Nerbo\t\tJavaFile.Nerbo\n\n",
    "IMPORTANTE: non cancellare questo file dalla directory jdk\\bin dopo\n",
    "\t    l'installazione.\n",
};

constexpr char kUninstallHint[] =
    "Per disinstallare eseguire il programma passandogli il parametro \"/u\".\n";

void PrintBanner(Console& console) {
  Print(console, "\t\t    ****   Nerbo.exe (ver. " NERBO_VERSION ")   ****\n");
  Print(console, std::string("  by Brandovelkian, E-mail:") + kAuthorMail + " site:" + kAuthorSite + "\n");
  Print(console, "\nUtilita' per l'esecuzione di classi java.\n");
  Print(console, "Crea nel registro un'associazione al comando java.exe.\n");
  Print(console, "Il programma java.exe appartiene alla Sun Microsystem.\n");
  std::string rule;
  for (int i = 0; i < kRuleLength; ++i) rule += console.LightShade();
  Print(console, rule + "\n\n");
}

}  // namespace

const char kInstalledForUserText[] =
    "L'installazione vale solo per l'utente corrente. Per installare per tutti\n"
    "gli utenti, eseguire il programma da un prompt dei comandi aperto come\n"
    "amministratore.\n\n";
const char kUserRegistrationRemainsText[] =
    "\nResta l'installazione per l'utente corrente: per rimuoverla eseguire\n"
    "di nuovo il programma passandogli il parametro \"/u\".\n";

void Print(Console& console, const std::string& text) { console.WriteOut(text.data(), text.size()); }

void PrintError(Console& console, const std::string& text) { console.WriteErr(text.data(), text.size()); }

void RaiseWithErrorLine(const RunContext& context, int code, const std::string& line) {
  PrintError(context.console, line);
  RaiseMessageCode(context, code);
}

void PrintMessage(Console& console, int code, const char* parameter) {
  switch (code) {
    case kMsgBanner:
      PrintBanner(console);
      break;
    case kMsgInstallHelp:
      for (const char* line : kInstallHelp) Print(console, line);
      Print(console, kUninstallHint);
      break;
    case kMsgInstalled:
      Print(console, "Installazione eseguita correttamente.\n\n");
      break;
    case kMsgCompileMenu:
      Print(console, "Ora e' anche possibile compilare direttamente un file java da menu contestuale!\n\n");
      break;
    case kMsgAskArguments:
      Print(console, "Inserire gli argomenti per la classe java:\n\n");
      break;
    case kMsgFileNotFound:
      Print(console,
            std::string("Impossibile trovare il file ") + (parameter ? parameter : "(null)") + "\n\n");
      break;
    case kMsgUnsupportedFile:
      Print(console, "Processo solo i file .class e .java\n\n");
      break;
    case kMsgSpawnFailed:
      PrintErrorText(console, "Spawnl non andata a buon fine\n\n");
      break;
    case kMsgCompileFailed:
      Print(console, "\nCompilazione Java terminata in maniera non corretta.\n");
      break;
    case kMsgCompiled:
      Print(console, "\nCompilazione Java terminata correttamente.\n\n");
      break;
    case kMsgStarting:
      Print(console, "Sto avviando il programma ");
      break;
    case kMsgProgramFailed:
      Print(console, "Programma Java terminato in maniera non corretta.\n\n");
      break;
    case kMsgProgramDone:
      Print(console, "\nProgramma Java terminato correttamente.\n\n");
      break;
    case kMsgUninstallHint:
      Print(console, kUninstallHint);
      break;
    case kMsgUninstalled:
      Print(console, "\nDisinstallazione eseguita.\n\n");
      break;
    case kMsgWait:
      Print(console, "Attendere.\n\n");
      break;
    default:
      break;
  }
}

void PrintErrorText(Console& console, const char* prefix) {
  std::string line;
  if (prefix != nullptr && *prefix != '\0') {
    line += prefix;
    line += ": ";
  }
  line += ErrorText(ErrorNumber());
  line += "\n";
  PrintError(console, line);
}

}  // namespace nerbo
