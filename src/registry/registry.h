// The registry seam: the handful of registry operations the tool relies on,
// with the result codes, types and byte counts of the Windows registry.
// Backends: advapi32 (Windows), the registry file (Linux), memory (tests);
// system_registry.h picks the one of the machine.
#pragma once

#include <cstdint>
#include <string>

namespace nerbo {

// An open key. The three roots are predefined; every other handle comes from
// CreateKey or OpenKey and stays valid until the backend goes away (the tool
// never closes a key). The tool only reads HKEY_CURRENT_USER.
using RegKey = std::uintptr_t;
inline constexpr RegKey kClassesRoot = 0x80000000u;
inline constexpr RegKey kCurrentUser = 0x80000001u;
inline constexpr RegKey kLocalMachine = 0x80000002u;

// Result codes, as the Windows registry returns them.
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegAccessDenied = 5;
inline constexpr long kRegInvalidHandle = 6;
inline constexpr long kRegInvalidParameter = 87;
inline constexpr long kRegMoreData = 234;
inline constexpr long kRegNoMoreItems = 259;
inline constexpr long kRegBadDb = 1009;     // the registry cannot be read
inline constexpr long kRegIoFailed = 1016;  // a change could not be written
inline constexpr long kRegKeyDeleted = 1018;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

class Registry {
 public:
  virtual ~Registry() = default;

  // Creates the subkey `name` of `parent` (one level) or opens it when it
  // exists; `created` (optional) tells which happened.
  virtual long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) = 0;
  virtual long OpenKey(RegKey parent, const char* name, RegKey* key) = 0;
  // Opens the subkey for reading only: the right a standard user has on the
  // keys of HKEY_LOCAL_MACHINE. Its handle serves QueryValue, QueryInfoKey
  // and EnumKey.
  virtual long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) = 0;

  // `name` empty or null is the default value. The data is stored exactly as
  // passed: `size` bytes, no terminator added.
  virtual long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                        std::uint32_t size) = 0;

  // On entry *size is the buffer's size; on success it is the count stored.
  // A value larger than the buffer gives kRegMoreData with the needed size in
  // *size and the buffer untouched. `type` and `data` may be null.
  virtual long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                          std::uint32_t* size) = 0;

  virtual long DeleteValue(RegKey key, const char* name) = 0;

  // Deletes the subkey `name` of `parent`; refused while it has subkeys.
  virtual long DeleteKey(RegKey parent, const char* name) = 0;

  // Number of subkeys and the length in characters of the longest subkey name.
  virtual long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) = 0;

  // Name of the subkey at `index`. On entry *length is the buffer's size in
  // characters with the terminator; on success the name's length without it.
  virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) = 0;

  // Installs and uninstalls change the registry as one unit. After
  // BeginChanges the calls see the registry as it is now and no other process
  // of the tool changes it; CommitChanges makes the changes since then last;
  // DiscardChanges ends the unit and drops what was not committed. Windows
  // applies every change at once, so there the three only mark the unit.
  virtual long BeginChanges() = 0;
  virtual long CommitChanges() = 0;
  virtual void DiscardChanges() = 0;
};

}  // namespace nerbo
