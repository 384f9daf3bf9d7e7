#include "registration/registration_failure.h"

#include <string>

#include "core/error_text.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "runtime/error_number.h"
#include "runtime/registry.h"

namespace nerbo {
namespace {

// Registry results are Windows codes on every backend, so they are turned
// into the tool's error numbers here rather than by the platform's table.
int ErrorNumberFromRegistryResult(long result) {
  switch (result) {
    case kRegFileNotFound:
      return kErrNoEntry;
    case kRegAccessDenied:
      return kErrAccess;
    default:
      return kErrInvalid;
  }
}

std::string FailureText(int code, long registry_result) {
  std::string error = ErrorText(ErrorNumberFromRegistryResult(registry_result));
  switch (code) {
    case kMsgToolPathTooLong:
      return "Il percorso di questo programma e' troppo lungo (massimo 253 caratteri):\n"
             "installazione non eseguita.\n\n";
    case kMsgInstallDirectoryTooLong:
      return "Il percorso della directory corrente e' troppo lungo (massimo 245 caratteri):\n"
             "installazione non eseguita.\n\n";
    case kMsgRegistryWriteRefused:
      return "Impossibile scrivere nel registro la chiave HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo: " +
             error + "\nInstallazione non eseguita: eseguire il programma come amministratore.\n\n";
    case kMsgRemovalRefused:
      return "\nIl registro ha rifiutato la rimozione di alcune chiavi: " + error +
             "\nDisinstallazione non completata: eseguire il programma come amministratore.\n\n";
    default:
      return std::string();
  }
}

std::string NotSavedText(int code) {
  return std::string("Impossibile salvare le modifiche nel registro.\n") +
         (code == kMsgRemovalRefused ? "Disinstallazione non eseguita" : "Installazione non eseguita") +
         ": il registro e' rimasto com'era.\n\n";
}

}  // namespace

void RaiseRegistrationFailure(Console& console, int code, long registry_result) {
  RaiseWithErrorLine(console, code, FailureText(code, registry_result));
}

void RaiseChangesNotSaved(Console& console, int code) {
  RaiseWithErrorLine(console, code, NotSavedText(code));
}

}  // namespace nerbo
