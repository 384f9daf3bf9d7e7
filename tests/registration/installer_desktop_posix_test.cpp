#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/message_code.h"
#include "registration/registration_failure.h"
#include "registration/registration_harness.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

// On Linux the installer gives the desktop its entries after the registry's
// and the uninstaller takes them away again.
class DesktopInstaller : public RegistrationTest {
 protected:
  fs::path Applications() const { return desktop_.path() / "data" / "applications"; }

  ScopedTempDir desktop_;
  ScopedEnvironment data_{"XDG_DATA_HOME", (desktop_.path() / "data").string()};
  ScopedEnvironment config_{"XDG_CONFIG_HOME", (desktop_.path() / "config").string()};
};

TEST_P(DesktopInstaller, InstallsBesideTheRegistryAndUninstallsWithIt) {
  PutKit();
  EXPECT_EQ(Install(), kMsgUninstallHint);
  EXPECT_TRUE(fs::exists(Applications() / "nerbo-class.desktop"));
  EXPECT_TRUE(fs::exists(Applications() / "nerbo-source.desktop"));
  EXPECT_TRUE(fs::exists(desktop_.path() / "config" / "mimeapps.list"));

  EXPECT_EQ(Uninstall(), kMsgUninstalled);
  EXPECT_FALSE(fs::exists(Applications() / "nerbo-class.desktop"));
  EXPECT_FALSE(fs::exists(Applications() / "nerbo-source.desktop"));
  EXPECT_FALSE(fs::exists(desktop_.path() / "config" / "mimeapps.list"));
}

TEST_P(DesktopInstaller, NoCompilerNoSourceEntry) {
  PutKit(false);
  EXPECT_EQ(Install(), kMsgUninstallHint);
  EXPECT_TRUE(fs::exists(Applications() / "nerbo-class.desktop"));
  EXPECT_FALSE(fs::exists(Applications() / "nerbo-source.desktop"));
}

TEST_P(DesktopInstaller, NothingWithoutTheKit) {
  EXPECT_EQ(Install(), kMsgInstallHelp);
  EXPECT_FALSE(fs::exists(desktop_.path() / "data"));
  EXPECT_FALSE(fs::exists(desktop_.path() / "config"));
}

TEST_P(DesktopInstaller, AFailureIsSaidAndEndsTheRunWithItsCode) {
  PutKit();
  fs::create_directories(desktop_.path() / "data");
  std::ofstream(Applications()) << "a file where the directory belongs";
  EXPECT_EQ(Install(), kMsgDesktopInstallFailed);
  EXPECT_EQ(console_.err, "Installazione per il desktop non riuscita: " + Applications().string() +
                              ": Not a directory\n\n");
  EXPECT_EQ(console_.out.find("Installazione eseguita"), std::string::npos);
  EXPECT_TRUE(Exists(kClassesRoot, "ClassFile.Nerbo"));  // the registry's part is done
}

TEST_P(DesktopInstaller, AnUnreadableRecordStopsTheUninstallerAfterTheRegistry) {
  PutKit();
  ASSERT_EQ(Install(), kMsgUninstallHint);
  const fs::path record = desktop_.path() / "data" / "nerbo" / "desktop-record";
  std::ofstream(record) << "damaged";
  EXPECT_EQ(Uninstall(), kMsgDesktopRemovalFailed);
  EXPECT_EQ(console_.err,
            "\nRimozione dal desktop non riuscita: " + record.string() + ": Invalid argument\n\n");
  EXPECT_FALSE(Exists(kClassesRoot, "ClassFile.Nerbo"));
}

INSTANTIATE_TEST_SUITE_P(Backends, DesktopInstaller, testing::ValuesIn(DumpableBackends()), BackendName);

}  // namespace
}  // namespace nerbo
