#include "runtime/argument_vector.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "runtime/windows_api.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

// The test program is its own child: started with NERBO_LOST_REPORT set, it
// writes one digit per argument after its name (1: the argument lost
// characters) into that file and ends before any test runs.
constexpr char kReportVariable[] = "NERBO_LOST_REPORT";

const bool kRunsAsChild = [] {
  const char* report = std::getenv(kReportVariable);
  if (report == nullptr) return false;
  {
    std::ofstream out(report, std::ios::binary);
    std::size_t count = BuildArgumentVector(0, nullptr).size();
    for (std::size_t index = 1; index < count; ++index) out << ArgumentLostCharacters(index);
  }
  ExitProcess(0);
}();

// Starts this program with a wide command line, as the Explorer starts
// programs, and gives what the child reported.
std::string LostWhenStartedWith(const std::wstring& arguments) {
  ScopedTempDir temp;
  std::filesystem::path report = temp.path() / "lost.txt";
  ScopedEnvironment variable(kReportVariable, report.string());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(self, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    return "not started";
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  std::ifstream in(report, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Western European code page 1252 (Wine's for an English or C locale, and
// this test program has no UTF-8 manifest) holds the accented letter but no
// Cyrillic one.
TEST(ArgumentLostCharacters, FlagsOnlyTheArgumentsTheAnsiCommandLineCouldNotCarry) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, not " << GetACP();
  EXPECT_EQ(LostWhenStartedWith(L"plain \"\u0416.class\" caf\u00e9 \"with blank\" \"\""), "01000");
}

}  // namespace
}  // namespace nerbo
