#include <string>

#include "launcher/error_text.h"
#include "launcher/message_code.h"
#include "launcher/messages.h"
#include "registration/desktop_integration.h"
#include "registration/registration_failure.h"

namespace nerbo {

// The registry entries are written (or removed) by then: the line says that
// only the desktop's part is missing, and which file stopped it.
void RaiseDesktopFailure(Console& console, int code, const DesktopResult& result) {
  const char* what = code == kMsgDesktopInstallFailed ? "Installazione per il desktop non riuscita: "
                                                      : "\nRimozione dal desktop non riuscita: ";
  PrintError(console, what + result.path + ": " + ErrorText(result.error_number) + "\n\n");
  RaiseMessageCode(code);
}

}  // namespace nerbo
