// Times the registry file's changing calls and shows the size of an installed layout.
// Usage: registry_calls_bench [registry file path] (default: a file in /tmp, removed after).
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "registry/registry_file.h"

namespace {

using nerbo::RegKey;

RegKey Create(nerbo::Registry& registry, RegKey parent, const char* path) {
  RegKey key = 0;
  registry.CreateKey(parent, path, &key, nullptr);
  return key;
}

void SetText(nerbo::Registry& registry, RegKey key, const char* name, const std::string& text,
             bool terminated) {
  registry.SetValue(key, name, nerbo::kRegSz, text.c_str(),
                    static_cast<std::uint32_t>(text.size() + terminated));
}

// The keys and values a full installation from C:\jdk\bin writes.
void WriteInstalledLayout(nerbo::Registry& registry) {
  const std::string tool = "C:\\jdk\\bin\\Nerbo.exe";
  const std::string prefix = tool + " \"%1\" ";
  RegKey uninstall = Create(registry, nerbo::kLocalMachine,
                            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nerbo");
  SetText(registry, uninstall, "DisplayName", "Nerbo by Brandovelkian", true);
  SetText(registry, uninstall, "UninstallString", tool + " /u", true);
  RegKey settings = Create(registry, nerbo::kLocalMachine, "SOFTWARE\\Vesk\\Nerbo");
  SetText(registry, settings, "", "Nerbo.exe", true);
  std::uint32_t flags = 3;
  registry.SetValue(settings, "UninstallInfo", nerbo::kRegDword, &flags, 4);
  SetText(registry, settings, "Run", "C:\\jdk\\bin\\java.exe", false);
  SetText(registry, settings, "Compile", "C:\\jdk\\bin\\javac.exe", false);
  RegKey class_key = Create(registry, nerbo::kClassesRoot, ".class");
  SetText(registry, class_key, "", "ClassFile.Nerbo", true);
  SetText(registry, class_key, "BackUp", "OldClassType", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "ClassFile.Nerbo"), "", "Classi Java", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "ClassFile.Nerbo\\DefaultIcon"), "", tool + ",0",
          true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "ClassFile.Nerbo\\Shell"), "", "Run", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "ClassFile.Nerbo\\Shell\\Run\\command"), "",
          prefix + "\"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\"", true);
  SetText(registry,
          Create(registry, nerbo::kClassesRoot, "ClassFile.Nerbo\\Shell\\Run with args...\\command"), "",
          prefix + "/ArgsToNerbo", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, ".java"), "", "JavaFile.Nerbo", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "JavaFile.Nerbo"), "", "Java File", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "JavaFile.Nerbo\\DefaultIcon"), "", tool + ",1",
          true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "JavaFile.Nerbo\\Shell"), "", "Compile+Run", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "JavaFile.Nerbo\\Shell\\Edit\\command"), "",
          "notepad %1", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "JavaFile.Nerbo\\Shell\\Compile+Run\\command"), "",
          prefix + "/ExecuteAfterCompile", true);
  SetText(registry, Create(registry, nerbo::kClassesRoot, "JavaFile.Nerbo\\Shell\\Compile\\command"), "",
          tool + " \"%1\"", true);
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : "/tmp/nerbo-bench-" + std::to_string(getpid()) + ".reg";
  auto registry = std::make_unique<nerbo::TreeBackedRegistry>(
      nerbo::MakeRegistryFileStore(path, [](const std::string& message) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(1);
      }));
  WriteInstalledLayout(*registry);
  struct stat st;
  stat(path.c_str(), &st);
  std::printf("installed layout: %lld bytes\n", static_cast<long long>(st.st_size));

  RegKey key = Create(*registry, nerbo::kLocalMachine, "SOFTWARE\\Vesk\\Nerbo");
  constexpr int kCalls = 1000;
  auto start = std::chrono::steady_clock::now();
  for (std::uint32_t i = 0; i < kCalls; ++i)
    registry->SetValue(key, "UninstallInfo", nerbo::kRegDword, &i, 4);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d SetValue calls: %.0f ms, %.3f ms each\n", kCalls, ms, ms / kCalls);

  start = std::chrono::steady_clock::now();
  std::uint32_t size = 0;
  for (int i = 0; i < kCalls; ++i) registry->QueryValue(key, "Run", nullptr, nullptr, &size);
  ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d QueryValue calls: %.1f ms, %.4f ms each\n", kCalls, ms, ms / kCalls);
  if (argc <= 1) {
    unlink(path.c_str());
    unlink((path + ".lock").c_str());
  }
  return 0;
}
