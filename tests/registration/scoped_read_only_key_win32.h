// Makes a registry key readable only, as a standard user finds the keys of
// HKEY_LOCAL_MACHINE, and puts its own access list back at the end of the
// scope. Wine honours a key's access list once one is set.
#pragma once

#include <vector>

#include "runtime/windows_api.h"

namespace nerbo {

class ScopedReadOnlyKey {
 public:
  ScopedReadOnlyKey(HKEY root, const char* path);
  ~ScopedReadOnlyKey();
  ScopedReadOnlyKey(const ScopedReadOnlyKey&) = delete;
  ScopedReadOnlyKey& operator=(const ScopedReadOnlyKey&) = delete;

 private:
  HKEY key_ = nullptr;
  std::vector<BYTE> saved_;
};

}  // namespace nerbo
