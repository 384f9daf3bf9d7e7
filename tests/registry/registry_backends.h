// The registries the tests run against on this platform: the memory registry
// and the system's own (the registry file on Linux, advapi32 on Windows).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/registry.h"

namespace nerbo {

// A registry under test and whatever must outlive it (a registry file's directory).
struct RegistryUnderTest {
  std::shared_ptr<void> keep_alive;  // declared first, so it goes last
  std::unique_ptr<Registry> registry;
  std::string file;  // the registry file, for the backend that keeps one
};

struct RegistryBackend {
  std::string name;
  std::function<RegistryUnderTest()> open;
  // advapi32 may store one terminating zero past a REG_SZ's count.
  bool may_add_terminator = false;
  // DumpRegistry shows its whole content.
  bool dumpable = false;
};

// The memory registry and this platform's system registry.
std::vector<RegistryBackend> RegistryBackends();
// Those whose whole content DumpRegistry shows: memory, and the registry file on Linux.
std::vector<RegistryBackend> DumpableBackends();
// This platform's system registry alone (per platform file).
RegistryBackend SystemRegistryBackend();

std::string BackendName(const testing::TestParamInfo<RegistryBackend>& info);
inline void PrintTo(const RegistryBackend& backend, std::ostream* out) { *out << backend.name; }

}  // namespace nerbo
