#include "registration/installer.h"

#include "launcher/message_code.h"

namespace nerbo {

// Not yet built: ends the run with the mode's own message code.
void Install(RunContext&) { RaiseMessageCode(kMsgUninstallHint); }

}  // namespace nerbo
