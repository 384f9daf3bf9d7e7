#include "registration/uninstaller.h"

#include "launcher/message_code.h"

namespace nerbo {

// Not yet built: ends the run with the mode's own message code.
void Uninstall(RunContext&) { RaiseMessageCode(kMsgUninstalled); }

}  // namespace nerbo
