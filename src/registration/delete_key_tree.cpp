#include "registration/delete_key_tree.h"

#include <string>
#include <vector>

namespace nerbo {

long DeleteKeyTree(Registry& registry, RegKey parent, const char* name) {
  RegKey key = 0;
  std::uint32_t subkeys = 0;
  std::uint32_t longest = 0;
  if (registry.OpenKey(parent, name, &key) == kRegSuccess &&
      registry.QueryInfoKey(key, &subkeys, &longest) == kRegSuccess) {
    std::vector<char> subkey_name(static_cast<std::size_t>(longest) + 1);
    for (std::uint32_t index = subkeys; index-- > 0;) {
      std::uint32_t length = longest + 1;
      if (registry.EnumKey(key, index, subkey_name.data(), &length) != kRegSuccess) continue;
      std::string subkey(subkey_name.data(), length < longest ? length : longest);
      DeleteKeyTree(registry, key, subkey.c_str());
    }
  }
  return registry.DeleteKey(parent, name);
}

}  // namespace nerbo
