// The registry of the machine the tool runs on: advapi32 on Windows, the
// registry file on Linux.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "registry/registry.h"

namespace nerbo {

// Told why the registry cannot be read at all (the Linux registry file: the
// message names the file, and the line when the text is at fault). When it
// returns, the call fails with kRegBadDb and the file stays as it is.
using UnreadableRegistryHandler = std::function<void(const std::string& message)>;

// advapi32 never calls the handler; the registry file takes its location
// from NERBO_REGISTRY, else from the user's config directory.
std::unique_ptr<Registry> MakeSystemRegistry(UnreadableRegistryHandler on_unreadable);

}  // namespace nerbo
