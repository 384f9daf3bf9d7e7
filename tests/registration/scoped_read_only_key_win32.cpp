#include "registration/scoped_read_only_key_win32.h"

// After windows.h.
#include <sddl.h>

namespace nerbo {

ScopedReadOnlyKey::ScopedReadOnlyKey(HKEY root, const char* path) {
  if (RegOpenKeyExA(root, path, 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  DWORD size = 0;
  RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
  saved_.resize(size);
  RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size);
  PSECURITY_DESCRIPTOR read_only = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &read_only,
                                                           nullptr)) {
    RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, read_only);
    LocalFree(read_only);
  }
}

ScopedReadOnlyKey::~ScopedReadOnlyKey() {
  if (!key_) return;
  if (!saved_.empty()) RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
  RegCloseKey(key_);
}

}  // namespace nerbo
