#include <string>

#include "core/error_text.h"
#include "core/message_code.h"
#include "core/messages.h"
#include "desktop/desktop_integration.h"

namespace nerbo {

// The registry entries are written (or removed) by then: the line says that
// only the desktop's part is missing, and which file stopped it.
void RaiseDesktopFailure(const RunContext& context, int code, const DesktopResult& result) {
  const char* what = code == kMsgDesktopInstallFailed ? "Installazione per il desktop non riuscita: "
                                                      : "\nRimozione dal desktop non riuscita: ";
  RaiseWithErrorLine(context, code, what + result.path + ": " + ErrorText(result.error_number) + "\n\n");
}

}  // namespace nerbo
