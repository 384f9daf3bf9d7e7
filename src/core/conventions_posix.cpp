#include "core/conventions.h"

namespace nerbo {

const Conventions& HostConventions() { return kPosixConventions; }

}  // namespace nerbo
