// A registry that refuses changes beneath one root, as Windows refuses a
// process without administrator rights: over any other registry, passing
// every other call through.
#pragma once

#include <map>

#include "registry/registry.h"

namespace nerbo {

enum class Refusal {
  kOpening,   // every key beneath the root: opening for full access is denied, reading is not
  kDeleting,  // keys open, but deleting keys and values beneath the root is denied
};

class RefusingRegistry final : public Registry {
 public:
  RefusingRegistry(Registry& inner, RegKey refused_root, Refusal refusal)
      : inner_(inner), refused_root_(refused_root), refusal_(refusal) {}

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override;
  long OpenKey(RegKey parent, const char* name, RegKey* key) override;
  long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override;
  long DeleteValue(RegKey key, const char* name) override;
  long DeleteKey(RegKey parent, const char* name) override;
  long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) override;
  long BeginChanges() override { return inner_.BeginChanges(); }
  long CommitChanges() override { return inner_.CommitChanges(); }
  void DiscardChanges() override { inner_.DiscardChanges(); }

 private:
  bool Beneath(RegKey key) const;
  long Opened(RegKey parent, long result, RegKey key);

  Registry& inner_;
  RegKey refused_root_;
  Refusal refusal_;
  std::map<RegKey, RegKey> root_of_;  // every handle handed out, by its root
};

}  // namespace nerbo
