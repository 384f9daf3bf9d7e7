#include "support/faulting_registry.h"

namespace nerbo {

// Refused as Windows refuses a change the process has no right to make.
long FaultingRegistry::CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) {
  RegKey existing = 0;
  bool exists = inner().OpenKeyToRead(parent, name, &existing) == kRegSuccess;
  if (!exists && Fails()) return kRegAccessDenied;
  return inner().CreateKey(parent, name, key, created);
}

long FaultingRegistry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                                std::uint32_t size) {
  if (Fails()) return kRegAccessDenied;
  return inner().SetValue(key, name, type, data, size);
}

long FaultingRegistry::DeleteValue(RegKey key, const char* name) {
  std::uint32_t size = 0;
  bool exists = inner().QueryValue(key, name, nullptr, nullptr, &size) == kRegSuccess;
  if (exists && Fails()) return kRegAccessDenied;
  return inner().DeleteValue(key, name);
}

// A key that still holds subkeys cannot go: deleting it changes nothing.
long FaultingRegistry::DeleteKey(RegKey parent, const char* name) {
  RegKey existing = 0;
  std::uint32_t subkeys = 0;
  std::uint32_t longest = 0;
  bool deletable = inner().OpenKeyToRead(parent, name, &existing) == kRegSuccess &&
                   inner().QueryInfoKey(existing, &subkeys, &longest) == kRegSuccess && subkeys == 0;
  if (deletable && Fails()) return kRegAccessDenied;
  return inner().DeleteKey(parent, name);
}

// The registry file could not be locked, or written.
long FaultingRegistry::BeginChanges() {
  if (Fails()) return kRegIoFailed;
  return inner().BeginChanges();
}

long FaultingRegistry::CommitChanges() {
  if (Fails()) return kRegIoFailed;
  return inner().CommitChanges();
}

}  // namespace nerbo
