// A registry that passes every call to another: the base of the tests'
// decorators, which override only the calls they change.
#pragma once

#include "registry/registry.h"

namespace nerbo {

class ForwardingRegistry : public Registry {
 public:
  explicit ForwardingRegistry(Registry& inner) : inner_(inner) {}

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override {
    return inner_.CreateKey(parent, name, key, created);
  }
  long OpenKey(RegKey parent, const char* name, RegKey* key) override {
    return inner_.OpenKey(parent, name, key);
  }
  long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) override {
    return inner_.OpenKeyToRead(parent, name, key);
  }
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override {
    return inner_.SetValue(key, name, type, data, size);
  }
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                  std::uint32_t* size) override {
    return inner_.QueryValue(key, name, type, data, size);
  }
  long DeleteValue(RegKey key, const char* name) override { return inner_.DeleteValue(key, name); }
  long DeleteKey(RegKey parent, const char* name) override { return inner_.DeleteKey(parent, name); }
  long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* max_subkey_length) override {
    return inner_.QueryInfoKey(key, subkeys, max_subkey_length);
  }
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* length) override {
    return inner_.EnumKey(key, index, name, length);
  }
  long BeginChanges() override { return inner_.BeginChanges(); }
  long CommitChanges() override { return inner_.CommitChanges(); }
  void DiscardChanges() override { inner_.DiscardChanges(); }

 protected:
  Registry& inner() { return inner_; }

 private:
  Registry& inner_;
};

}  // namespace nerbo
