#include "registry/registry_tree.h"

#include <gtest/gtest.h>

#include "support/memory_registry.h"
#include "support/registry_dump.h"

namespace nerbo {
namespace {

RegKey Create(Registry& registry, RegKey parent, const char* name) {
  RegKey key = 0;
  EXPECT_EQ(registry.CreateKey(parent, name, &key, nullptr), kRegSuccess);
  return key;
}

TEST(RegistryDump, ShowsEveryKeyAndValueWithTypeAndExactBytes) {
  auto registry = MakeMemoryRegistry();
  RegKey class_key = Create(*registry, kClassesRoot, ".class");
  registry->SetValue(class_key, "", kRegSz, "ClassFile.Nerbo", 16);
  RegKey settings = Create(*registry, kLocalMachine, "SOFTWARE\\Vesk\\Nerbo");
  std::uint32_t flags = 3;
  registry->SetValue(settings, "UninstallInfo", kRegDword, &flags, 4);
  registry->SetValue(settings, "Run", kRegSz, "C:\\jdk\\bin\\java.exe", 19);
  EXPECT_EQ(DumpRegistry(*registry),
            "HKEY_CLASSES_ROOT\n"
            "HKEY_CLASSES_ROOT\\.class\n"
            "  @ type 1, 16 bytes: \"ClassFile.Nerbo\\x00\"\n"
            "HKEY_LOCAL_MACHINE\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo\n"
            "  \"Run\" type 1, 19 bytes: \"C:\\\\jdk\\\\bin\\\\java.exe\"\n"
            "  \"UninstallInfo\" type 4, 4 bytes: \"\\x03\\x00\\x00\\x00\"\n");
}

TEST(RegistryTree, SubkeysComeInTheRegistrysOrder) {
  RegistryNode node;
  bool inserted = false;
  for (const char* name : {"b", "_x", "A", "a1", "B"}) node.AddSubkey(name, &inserted);
  EXPECT_FALSE(inserted) << "\"B\" names the key \"b\"";
  std::vector<std::string> names;
  for (const RegistryNode& subkey : node.subkeys) names.push_back(subkey.name);
  // Upper-case order: '_' (0x5f) sorts after the letters.
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a1", "b", "_x"}));
}

}  // namespace
}  // namespace nerbo
