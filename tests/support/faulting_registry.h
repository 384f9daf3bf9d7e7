// A registry that fails one chosen change, over any other registry: the Nth
// call that would change something (the changes begun, a value written, an
// existing value or a key without subkeys deleted, a new key created, the
// changes committed) is refused and left undone; every other call passes
// through.
#pragma once

#include "registry/registry.h"

namespace nerbo {

class FaultingRegistry final : public Registry {
 public:
  // `failing_change` counts from 1; 0 fails none.
  FaultingRegistry(Registry& inner, int failing_change) : inner_(inner), failing_change_(failing_change) {}

  // How many changes were asked for, the failed one included.
  int changes() const { return changes_; }
  bool failed() const { return failing_change_ > 0 && changes_ >= failing_change_; }

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override;
  long OpenKey(RegKey parent, const char* name, RegKey* key) override {
    return inner_.OpenKey(parent, name, key);
  }
  long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) override {
    return inner_.OpenKeyToRead(parent, name, key);
  }
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override {
    return inner_.QueryValue(key, name, type, data, size);
  }
  long DeleteValue(RegKey key, const char* name) override;
  long DeleteKey(RegKey parent, const char* name) override;
  long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) override {
    return inner_.QueryInfoKey(key, subkeys, max_subkey_length);
  }
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) override {
    return inner_.EnumKey(key, index, name, length);
  }
  long BeginChanges() override;
  long CommitChanges() override;
  void DiscardChanges() override { inner_.DiscardChanges(); }

 private:
  // Counts one change; true when it is the one to fail.
  bool Fails() { return ++changes_ == failing_change_; }

  Registry& inner_;
  int failing_change_;
  int changes_ = 0;
};

}  // namespace nerbo
