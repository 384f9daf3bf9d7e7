#include "registry/advapi32_registry.h"

#include "runtime/windows_api.h"

namespace nerbo {
namespace {

// The seam's roots are the 32-bit values of the predefined keys; a 64-bit
// HKEY holds them sign-extended, so they are mapped rather than cast.
HKEY ToHkey(RegKey key) {
  if (key == kClassesRoot) return HKEY_CLASSES_ROOT;
  if (key == kCurrentUser) return HKEY_CURRENT_USER;
  if (key == kLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

// advapi32 as it is: every call passes its result through unchanged.
class Advapi32Registry final : public Registry {
 public:
  static long Open(RegKey parent, const char* name, REGSAM access, RegKey* key) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(ToHkey(parent), name, 0, access, &opened);
    if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
    return status;
  }

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override {
    HKEY opened = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(ToHkey(parent), name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &opened, &disposition);
    if (status == ERROR_SUCCESS) {
      *key = reinterpret_cast<RegKey>(opened);
      if (created) *created = disposition == REG_CREATED_NEW_KEY;
    }
    return status;
  }

  long OpenKey(RegKey parent, const char* name, RegKey* key) override {
    return Open(parent, name, KEY_ALL_ACCESS, key);
  }

  long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) override {
    return Open(parent, name, KEY_READ, key);
  }

  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override {
    return RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
  }

  long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override {
    DWORD value_type = 0;
    DWORD count = size ? *size : 0;
    LONG status = RegQueryValueExA(ToHkey(key), name, nullptr, type ? &value_type : nullptr,
                                   static_cast<BYTE*>(data), size ? &count : nullptr);
    if (type && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = value_type;
    if (size && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *size = count;
    return status;
  }

  long DeleteValue(RegKey key, const char* name) override { return RegDeleteValueA(ToHkey(key), name); }

  long DeleteKey(RegKey parent, const char* name) override { return RegDeleteKeyA(ToHkey(parent), name); }

  long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) override {
    DWORD count = 0;
    DWORD longest = 0;
    LONG status = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
      if (subkeys) *subkeys = count;
      if (max_subkey_length) *max_subkey_length = longest;
    }
    return status;
  }

  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) override {
    DWORD count = length ? *length : 0;
    LONG status = RegEnumKeyExA(ToHkey(key), index, name, length ? &count : nullptr, nullptr, nullptr,
                                nullptr, nullptr);
    if (status == ERROR_SUCCESS && length) *length = count;
    return status;
  }

  // Every change above is already applied.
  long BeginChanges() override { return ERROR_SUCCESS; }
  long CommitChanges() override { return ERROR_SUCCESS; }
  void DiscardChanges() override {}
};

}  // namespace

std::unique_ptr<Registry> MakeAdvapi32Registry() { return std::make_unique<Advapi32Registry>(); }

}  // namespace nerbo
