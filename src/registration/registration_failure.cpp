#include "registration/registration_failure.h"

#include <string>

#include "core/error_text.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "registry/registry.h"
#include "runtime/error_number.h"

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
    case kRegIoFailed:
      return kErrIo;
    default:
      return kErrInvalid;
  }
}

std::string FailureText(int code) {
  switch (code) {
    case kMsgToolPathTooLong:
      return "Il percorso di questo programma e' troppo lungo (massimo 253 caratteri):\n"
             "installazione non eseguita.\n\n";
    case kMsgInstallDirectoryTooLong:
      return "Il percorso della directory corrente e' troppo lungo (massimo 245 caratteri):\n"
             "installazione non eseguita.\n\n";
    default:
      return std::string();
  }
}

std::string ValueText(const ChangeFailure& failure) {
  std::string value = failure.value.empty() ? "il valore predefinito" : "il valore " + failure.value;
  return value + " della chiave " + failure.key;
}

// What could not be done, as the line says it after "Impossibile".
std::string ChangeText(const ChangeFailure& failure) {
  switch (failure.kind) {
    case ChangeKind::kBegin:
      return "aprire il registro per modificarlo";
    case ChangeKind::kOpenKey:
      return "aprire nel registro la chiave " + failure.key;
    case ChangeKind::kCreateKey:
      return "scrivere nel registro la chiave " + failure.key;
    case ChangeKind::kWriteValue:
      return "scrivere nel registro " + ValueText(failure);
    case ChangeKind::kDeleteKey:
      return "rimuovere dal registro la chiave " + failure.key;
    case ChangeKind::kDeleteValue:
      return "rimuovere dal registro " + ValueText(failure);
    case ChangeKind::kCommit:
      return "salvare le modifiche nel registro";
  }
  return std::string();
}

}  // namespace

void RaiseRegistrationFailure(const RunContext& context, int code) {
  RaiseWithErrorLine(context, code, FailureText(code));
}

void RaiseRegistryChangeFailure(const RunContext& context, int code, const ChangeFailure& failure) {
  std::string error = ErrorText(ErrorNumberFromRegistryResult(failure.result));
  std::string line = "Impossibile " + ChangeText(failure) + ": " + error;
  if (code == kMsgRegistryWriteRefused) {
    line += "\nInstallazione non eseguita: eseguire il programma come amministratore.\n\n";
  } else {
    line = "\n" + line + "\nDisinstallazione non completata: eseguire il programma come amministratore.\n\n";
  }
  RaiseWithErrorLine(context, code, line);
}

}  // namespace nerbo
