#include "core/conventions.h"

namespace nerbo {

const Conventions& HostConventions() { return kWindowsConventions; }

}  // namespace nerbo
