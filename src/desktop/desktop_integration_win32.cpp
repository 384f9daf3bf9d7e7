#include "desktop/desktop_integration.h"

namespace nerbo {

// The Explorer takes everything from the registry entries.
DesktopResult InstallDesktopIntegration(const std::string&, bool) { return {}; }

DesktopResult UninstallDesktopIntegration() { return {}; }

}  // namespace nerbo
