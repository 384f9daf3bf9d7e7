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
  long result = inner_.CreateKey(parent, name, key, created);
  return Opened(parent, result, *key);
}

long RefusingRegistry::OpenKey(RegKey parent, const char* name, RegKey* key) {
  if (refusal_ == Refusal::kOpening && Beneath(parent)) return kRegAccessDenied;
  long result = inner_.OpenKey(parent, name, key);
  return Opened(parent, result, *key);
}

long RefusingRegistry::OpenKeyToRead(RegKey parent, const char* name, RegKey* key) {
  return Opened(parent, inner_.OpenKeyToRead(parent, name, key), *key);
}

long RefusingRegistry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                                std::uint32_t size) {
  return inner_.SetValue(key, name, type, data, size);
}

long RefusingRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                                  std::uint32_t* size) {
  return inner_.QueryValue(key, name, type, data, size);
}

long RefusingRegistry::DeleteValue(RegKey key, const char* name) {
  std::uint32_t size = 0;
  bool exists = inner_.QueryValue(key, name, nullptr, nullptr, &size) == kRegSuccess;
  if (refusal_ == Refusal::kDeleting && Beneath(key) && exists) return kRegAccessDenied;
  return inner_.DeleteValue(key, name);
}

long RefusingRegistry::DeleteKey(RegKey parent, const char* name) {
  RegKey existing = 0;
  bool exists = inner_.OpenKey(parent, name, &existing) == kRegSuccess;
  if (refusal_ == Refusal::kDeleting && Beneath(parent) && exists) return kRegAccessDenied;
  return inner_.DeleteKey(parent, name);
}

long RefusingRegistry::QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) {
  return inner_.QueryInfoKey(key, subkeys, max_subkey_length);
}

long RefusingRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) {
  return inner_.EnumKey(key, index, name, length);
}

}  // namespace nerbo
