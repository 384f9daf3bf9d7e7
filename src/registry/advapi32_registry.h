// The Windows registry itself, through advapi32: every call passes its
// result through unchanged.
#pragma once

#include <memory>

#include "registry/registry.h"

namespace nerbo {

std::unique_ptr<Registry> MakeAdvapi32Registry();

}  // namespace nerbo
