#include "support/memory_registry.h"

#include "core/settings_key.h"
#include "registry/tree_backed_registry.h"
#include "support/registry_dump.h"

namespace nerbo {
namespace {

// The tree is the whole store: nothing to load, nobody else to keep out.
class MemoryStorage final : public TreeStorage {
 public:
  long Load(RegistryTree*, const RegistryPath*) override { return kRegSuccess; }
  long Update(RegistryTree*, const std::function<long(bool* changed)>& change) override {
    bool changed = false;
    return change(&changed);
  }
};

}  // namespace

RegKey CreatedSettingsKey(Registry& registry) {
  RegKey key = kLocalMachine;
  for (const char* level : kSettingsPath) registry.CreateKey(key, level, &key, nullptr);
  RegKey settings = 0;
  registry.CreateKey(key, kToolKey, &settings, nullptr);
  return settings;
}

std::unique_ptr<Registry> MakeMemoryRegistry() {
  return MakeDumpableRegistry(std::make_unique<MemoryStorage>());
}

}  // namespace nerbo
