// The README's exit-status table is the one users read: it must list every
// code a run can end with, and nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "core/message_code.h"

namespace nerbo {
namespace {

std::set<int> StatusesInReadme() {
  std::ifstream readme(NERBO_SOURCE_DIR "/README.md");
  std::set<int> statuses;
  bool in_table = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("| status | meaning |", 0) == 0) {
      in_table = true;
    } else if (in_table && line.rfind("|", 0) != 0) {
      break;
    } else if (in_table) {
      std::string first = line.substr(1, line.find('|', 1) - 1);
      static const std::regex kNumber("[0-9]+");
      for (std::sregex_iterator it(first.begin(), first.end(), kNumber), end; it != end; ++it) {
        statuses.insert(std::stoi(it->str()));
      }
    }
  }
  return statuses;
}

TEST(ExitStatuses, TheReadmeTableListsEveryEndingCode) {
  const std::set<int> codes = {kMsgUsage,
                               kMsgInstallHelp,
                               kMsgFileNotFound,
                               kMsgUnsupportedFile,
                               kMsgSpawnFailed,
                               kMsgCompileFailed,
                               kMsgCompiled,
                               kMsgProgramFailed,
                               kMsgProgramDone,
                               kMsgUninstallHint,
                               kMsgUninstalled,
                               kMsgToolPathTooLong,
                               kMsgInstallDirectoryTooLong,
                               kMsgRegistryWriteRefused,
                               kMsgRemovalRefused,
                               kMsgDesktopInstallFailed,
                               kMsgDesktopRemovalFailed,
                               kMsgClassOutsidePackage,
                               kMsgClassFileMisnamed,
                               kMsgJarWithoutMainClass,
                               kMsgJarUnreadable,
                               kMsgInternalError,
                               kMsgRegistryUnreadable};
  EXPECT_EQ(StatusesInReadme(), codes);
}

}  // namespace
}  // namespace nerbo
