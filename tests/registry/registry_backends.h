// The registries the conformance suite runs against on this platform.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry.h"

namespace nerbo {

struct RegistryUnderTest {
  std::unique_ptr<Registry> registry;
  std::function<void()> cleanup;  // runs after the registry is gone
};

struct RegistryBackend {
  std::string name;
  std::function<RegistryUnderTest()> open;
  // advapi32 may store one terminating zero past a REG_SZ's count.
  bool may_add_terminator;
};

// The memory registry and this platform's system registry.
std::vector<RegistryBackend> RegistryBackends();
// This platform's system registry alone (per platform file).
RegistryBackend SystemRegistryBackend();

}  // namespace nerbo
