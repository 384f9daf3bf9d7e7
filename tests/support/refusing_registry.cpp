#include "support/refusing_registry.h"

namespace nerbo {

bool RefusingRegistry::Beneath(RegKey key) const {
  if (key == refused_root_) return true;
  auto found = root_of_.find(key);
  return found != root_of_.end() && found->second == refused_root_;
}

long RefusingRegistry::Opened(RegKey parent, long result, RegKey key) {
  if (result == kRegSuccess) {
    auto found = root_of_.find(parent);
    root_of_[key] = found == root_of_.end() ? parent : found->second;
  }
  return result;
}

long RefusingRegistry::CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) {
  if (refusal_ == Refusal::kOpening && Beneath(parent)) return kRegAccessDenied;
  long result = inner().CreateKey(parent, name, key, created);
  return Opened(parent, result, *key);
}

long RefusingRegistry::OpenKey(RegKey parent, const char* name, RegKey* key) {
  if (refusal_ == Refusal::kOpening && Beneath(parent)) return kRegAccessDenied;
  long result = inner().OpenKey(parent, name, key);
  return Opened(parent, result, *key);
}

long RefusingRegistry::OpenKeyToRead(RegKey parent, const char* name, RegKey* key) {
  return Opened(parent, inner().OpenKeyToRead(parent, name, key), *key);
}

long RefusingRegistry::DeleteValue(RegKey key, const char* name) {
  std::uint32_t size = 0;
  bool exists = inner().QueryValue(key, name, nullptr, nullptr, &size) == kRegSuccess;
  if (refusal_ == Refusal::kDeleting && Beneath(key) && exists) return kRegAccessDenied;
  return inner().DeleteValue(key, name);
}

long RefusingRegistry::DeleteKey(RegKey parent, const char* name) {
  RegKey existing = 0;
  bool exists = inner().OpenKey(parent, name, &existing) == kRegSuccess;
  if (refusal_ == Refusal::kDeleting && Beneath(parent) && exists) return kRegAccessDenied;
  return inner().DeleteKey(parent, name);
}

}  // namespace nerbo
