#include "support/mode_harness.h"

#include "registration/registry_layout.h"
#include "runtime/error_number.h"
#include "runtime/portable/path.h"
#include "support/memory_registry.h"
#include "support/process_end.h"

namespace nerbo {

SpawnResult ExitedWith(std::uint32_t status) { return SpawnResult{true, status}; }

SpawnResult NotStarted() { return SpawnResult{}; }

ModeHarness::ModeHarness(const Conventions& conventions)
    : registry_(MakeMemoryRegistry()),
      context_(*registry_, console, conventions,
               [this](const std::string& program, const std::vector<std::string>& arguments) {
                 calls.push_back({program, arguments, std::filesystem::current_path()});
                 if (during_spawn) during_spawn();
                 SpawnResult result = ExitedWith(0);
                 if (!results.empty()) {
                   result = results.front();
                   results.pop_front();
                 }
                 if (!result.started) SetErrorNumber(kErrExecFormat);
                 return result;
               }) {
  // The error number outlives every test; what an earlier one left must not
  // pass for what this one's code sets.
  SetErrorNumber(0);
  context_.settings_key = CreatedSettingsKey(*registry_);
}

void ModeHarness::SetToolPath(const char* value_name, const std::string& path) {
  registry_->SetValue(context_.settings_key, value_name, kRegSz, path.data(),
                      static_cast<std::uint32_t>(path.size()));
}

void ModeHarness::SetTarget(const std::string& found_name,
                            const std::vector<std::string>& further_arguments) {
  PathParts parts = SplitPath(found_name, context_.conventions.folder_naming);
  context_.found_name = found_name;
  context_.name = parts.name;
  context_.extension = parts.extension;
  context_.arguments = {"C:\\jdk\\bin\\Nerbo.exe", found_name};
  context_.arguments.insert(context_.arguments.end(), further_arguments.begin(), further_arguments.end());
  context_.argument_string.clear();
  for (const std::string& argument : further_arguments) context_.argument_string += argument + ' ';
}

int ModeHarness::Run(void (*mode)(RunContext&)) { return RunModeToStatus(context_, mode); }

}  // namespace nerbo
