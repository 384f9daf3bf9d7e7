#include "desktop/desktop_integration.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "desktop/key_file_reader.h"
#include "support/file_contents.h"
#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

constexpr char kToolPath[] = "/opt/my jdk/bin/nerbo";

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Everything below `root`: each file with its bytes, each link with its
// target, each directory.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string& what = files[fs::relative(entry.path(), root).string()];
    if (entry.is_symlink()) {
      what = "link to " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
      what = "directory";
    } else {
      what = FileContents(entry.path()).value_or("(unreadable)");
    }
  }
  return files;
}

struct CommandResult {
  int status = -1;
  std::string output;
};

// Runs a shell command line, output and errors together.
CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[512];
  for (std::size_t count; (count = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    result.output.append(buffer, count);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

bool HaveProgram(const char* name) { return RunCommand(std::string("command -v ") + name).status == 0; }

class DesktopIntegration : public testing::Test {
 protected:
  fs::path Data() const { return temp_.path() / "data"; }
  fs::path Config() const { return temp_.path() / "config"; }
  fs::path Mimeapps() const { return Config() / "mimeapps.list"; }
  fs::path Entry(const char* name) const { return Data() / "applications" / name; }
  fs::path Record() const { return Data() / "nerbo" / "desktop-record"; }
  fs::path ToolLink() const { return Data() / "nerbo" / "nerbo"; }

  ScopedTempDir temp_;
  ScopedEnvironment data_{"XDG_DATA_HOME", (temp_.path() / "data").string()};
  ScopedEnvironment config_{"XDG_CONFIG_HOME", (temp_.path() / "config").string()};
  ScopedEnvironment visual_{"VISUAL", "/usr/bin/vi -n"};
  // xdg-mime then reads mimeapps.list itself, as on any desktop.
  ScopedEnvironment desktop_{"XDG_CURRENT_DESKTOP"};
  ScopedEnvironment session_{"DESKTOP_SESSION"};
  ScopedEnvironment kde_{"KDE_FULL_SESSION"};
  ScopedEnvironment display_{"DISPLAY"};
};

constexpr const char* kEntries[] = {"nerbo-class.desktop",
                                    "nerbo-run-with-args.desktop",
                                    "nerbo-source.desktop",
                                    "nerbo-compile.desktop",
                                    "nerbo-edit.desktop",
                                    "nerbo-jar.desktop",
                                    "nerbo-jar-run-with-args.desktop"};

TEST_F(DesktopIntegration, WritesValidEntriesThatBecomeTheDefaults) {
  // xdg-mime passes over an entry whose program is missing.
  const fs::path tool = temp_.path() / "my jdk" / "nerbo";
  Write(tool, "#!/bin/sh\n");
  fs::permissions(tool, fs::perms::owner_exec, fs::perm_options::add);
  ASSERT_TRUE(InstallDesktopIntegration(tool.string(), true).done);

  EXPECT_EQ(fs::read_symlink(ToolLink()), tool);
  // The built PNG files; check_icon_png.py compares their pixels with the icons'.
  for (const std::string kind : {"class", "source"}) {
    std::optional<std::string> built = FileContents(fs::path(NERBO_BINARY_DIR) / "src" / (kind + ".png"));
    ASSERT_TRUE(built) << kind;
    EXPECT_EQ(FileContents(Data() / "icons/hicolor/32x32/apps" / ("nerbo-" + kind + ".png")), built) << kind;
  }

  if (HaveProgram("desktop-file-validate")) {
    for (const char* name : kEntries) {
      CommandResult validated = RunCommand("desktop-file-validate '" + Entry(name).string() + "'");
      EXPECT_EQ(validated.status, 0) << validated.output;
      EXPECT_EQ(validated.output, "") << name;
    }
  }
  if (HaveProgram("xdg-mime")) {
    EXPECT_EQ(RunCommand("xdg-mime query default application/x-java").output, "nerbo-class.desktop\n");
    EXPECT_EQ(RunCommand("xdg-mime query default text/x-java").output, "nerbo-source.desktop\n");
    EXPECT_EQ(RunCommand("xdg-mime query default application/x-java-archive").output, "nerbo-jar.desktop\n");
  }
}

// A file the installation writes, the group of its key file that starts a
// verb, and what that group must say.
struct VerbFile {
  const char* path;  // below the data directory
  const char* group;
  const char* name;
  const char* exec;  // "<tool>" for the tool's link
};

class VerbFiles : public DesktopIntegration, public testing::WithParamInterface<VerbFile> {};

// Each parses with the key-file rules and starts the verb's command with the
// clicked file; none starts the tool without one. (The desktop entries are
// checked by desktop-file-validate and started by GLib end to end.)
TEST_P(VerbFiles, ParseAndStartTheVerbOnTheFile) {
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  std::optional<std::string> text = FileContents(Data() / GetParam().path);
  ASSERT_TRUE(text);
  std::string error;
  std::optional<KeyFile> file = ReadKeyFile(*text, &error);
  ASSERT_TRUE(file) << error;
  const KeyFileGroup& group = (*file)[GetParam().group];
  EXPECT_EQ(group.count("Name") ? group.at("Name") : "", GetParam().name);
  std::string exec = GetParam().exec;
  if (exec.rfind("<tool>", 0) == 0) exec.replace(0, 6, ToolLink().string());
  EXPECT_EQ(group.count("Exec") ? group.at("Exec") : "", exec);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VerbFiles,
    testing::Values(
        VerbFile{"kio/servicemenus/nerbo-class.desktop", "Desktop Action run", "Run", "<tool> %f"},
        VerbFile{"kio/servicemenus/nerbo-class.desktop", "Desktop Action run-with-args", "Run with args...",
                 "<tool> %f /ArgsToNerbo"},
        VerbFile{"kio/servicemenus/nerbo-source.desktop", "Desktop Action compile-run", "Compile+Run",
                 "<tool> %f /ExecuteAfterCompile"},
        VerbFile{"kio/servicemenus/nerbo-source.desktop", "Desktop Action compile", "Compile", "<tool> %f"},
        VerbFile{"kio/servicemenus/nerbo-source.desktop", "Desktop Action edit", "Edit", "/usr/bin/vi -n %f"},
        VerbFile{"nemo/actions/nerbo-run.nemo_action", "Nemo Action", "Run", "<tool> %F"},
        VerbFile{"nemo/actions/nerbo-run-with-args.nemo_action", "Nemo Action", "Run with args...",
                 "<tool> %F /ArgsToNerbo"},
        VerbFile{"nemo/actions/nerbo-compile-run.nemo_action", "Nemo Action", "Compile+Run",
                 "<tool> %F /ExecuteAfterCompile"},
        VerbFile{"nemo/actions/nerbo-compile.nemo_action", "Nemo Action", "Compile", "<tool> %F"},
        VerbFile{"nemo/actions/nerbo-edit.nemo_action", "Nemo Action", "Edit", "/usr/bin/vi -n %F"},
        VerbFile{"kio/servicemenus/nerbo-archive.desktop", "Desktop Action jar-run-with-args",
                 "Run with args...", "<tool> %f /ArgsToNerbo"},
        VerbFile{"nemo/actions/nerbo-jar-run.nemo_action", "Nemo Action", "Run", "<tool> %F"}));

// Dolphin ignores a service menu of the user's, and Nautilus a script, that
// is not executable.
TEST_F(DesktopIntegration, MenusThatMustBeProgramsAre) {
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  const fs::path scripts = Data() / "nautilus/scripts/Nerbo";
  for (const fs::path& path :
       {Data() / "kio/servicemenus/nerbo-class.desktop", Data() / "kio/servicemenus/nerbo-source.desktop",
        Data() / "kio/servicemenus/nerbo-archive.desktop", scripts / "Run", scripts / "Run with args...",
        scripts / "Compile+Run", scripts / "Compile", scripts / "Edit"}) {
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << path;
  }
}

struct Before {
  const char* name;
  std::optional<std::string> mimeapps;
};

class DesktopRoundTrip : public DesktopIntegration, public testing::WithParamInterface<Before> {};

TEST_P(DesktopRoundTrip, UninstallPutsEverythingBackAndRepeatsChangeNothing) {
  const std::optional<std::string>& before = GetParam().mimeapps;
  if (before) Write(Mimeapps(), *before);
  // Files of others in the same directories stay.
  Write(Entry("other.desktop"), "[Desktop Entry]\nType=Application\nName=Other\nExec=other\n");
  Write(Data() / "icons/hicolor/32x32/apps/other.png", "picture");
  const auto original = Snapshot(temp_.path());

  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  const auto installed = Snapshot(temp_.path());
  // A jar default of the user's is theirs to keep.
  const std::string users_jar_default = "application/x-java-archive=org.kde.ark.desktop;";
  if (before && before->find(users_jar_default) != std::string::npos) {
    EXPECT_NE(FileContents(Mimeapps()).value_or("").find(users_jar_default), std::string::npos);
  }
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  EXPECT_EQ(Snapshot(temp_.path()), installed);

  ASSERT_TRUE(UninstallDesktopIntegration().done);
  EXPECT_EQ(FileContents(Mimeapps()), before);
  EXPECT_EQ(Snapshot(temp_.path()), original);
  ASSERT_TRUE(UninstallDesktopIntegration().done);
  EXPECT_EQ(Snapshot(temp_.path()), original);
}

INSTANTIATE_TEST_SUITE_P(
    Mimeapps, DesktopRoundTrip,
    testing::Values(
        Before{"None", std::nullopt}, Before{"Empty", std::string()},
        Before{"OtherSectionsAndEntries",
               std::string("[Added Associations]\ntext/x-java=code.desktop;\n\n"
                           "[Default Applications]\ntext/html=firefox.desktop\n"
                           "application/x-java=jd-gui.desktop;\n\n[Removed Associations]\n"
                           "image/png=gimp.desktop;\n")},
        Before{"AJarDefaultOfTheUsers",
               std::string("[Default Applications]\napplication/x-java-archive=org.kde.ark.desktop;\n")},
        Before{"NoFinalLineFeed", std::string("[Default Applications]\ntext/x-java=gedit.desktop")}),
    [](const testing::TestParamInfo<Before>& param_info) { return std::string(param_info.param.name); });

TEST_F(DesktopIntegration, TheFoldersItMadeGoAgain) {
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  ASSERT_TRUE(UninstallDesktopIntegration().done);
  EXPECT_EQ(Snapshot(temp_.path()), (std::map<std::string, std::string>{}));
}

// The desktop database the installation made stays once it lists another
// program's handlers: that program may rely on it by now.
TEST_F(DesktopIntegration, ADesktopDatabaseOthersUseStays) {
  if (!HaveProgram("update-desktop-database")) GTEST_SKIP() << "no update-desktop-database";
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  Write(Entry("other.desktop"),
        "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\nMimeType=text/plain;\n");
  ASSERT_TRUE(UninstallDesktopIntegration().done);
  EXPECT_EQ(FileContents(Entry("mimeinfo.cache")), "[MIME Cache]\ntext/plain=other.desktop;\n");
}

TEST_F(DesktopIntegration, SourcesJoinWhenALaterInstallationFindsTheCompiler) {
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, false).done);
  EXPECT_TRUE(fs::exists(Entry("nerbo-class.desktop")));
  EXPECT_FALSE(fs::exists(Entry("nerbo-source.desktop")));
  EXPECT_EQ(FileContents(Mimeapps()),
            "[Default Applications]\napplication/x-java=nerbo-class.desktop;\n"
            "application/x-java-archive=nerbo-jar.desktop;\n");

  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  ASSERT_TRUE(UninstallDesktopIntegration().done);
  EXPECT_FALSE(fs::exists(Entry("nerbo-source.desktop")));
  EXPECT_FALSE(fs::exists(Mimeapps()));
}

TEST_F(DesktopIntegration, InstallingFromAnotherKitMovesTheLink) {
  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  ASSERT_TRUE(InstallDesktopIntegration("/opt/jdk 2/bin/nerbo", true).done);
  EXPECT_EQ(fs::read_symlink(ToolLink()), "/opt/jdk 2/bin/nerbo");
}

TEST_F(DesktopIntegration, ALinkedMimeappsListStaysALink) {
  const fs::path kept = temp_.path() / "dotfiles" / "mimeapps.list";
  Write(kept, "[Default Applications]\n");
  fs::create_directories(Config());
  fs::create_symlink(kept, Mimeapps());

  ASSERT_TRUE(InstallDesktopIntegration(kToolPath, true).done);
  EXPECT_TRUE(fs::is_symlink(Mimeapps()));
  std::optional<std::string> linked = FileContents(kept);
  ASSERT_TRUE(linked);
  EXPECT_NE(linked->find("nerbo-class.desktop"), std::string::npos);
  ASSERT_TRUE(UninstallDesktopIntegration().done);
  EXPECT_TRUE(fs::is_symlink(Mimeapps()));
  EXPECT_EQ(FileContents(kept), "[Default Applications]\n");
}

TEST_F(DesktopIntegration, AnUnreadableRecordIsReportedAndKept) {
  Write(Record(), "not a record\n");
  for (const DesktopResult& result :
       {InstallDesktopIntegration(kToolPath, true), UninstallDesktopIntegration()}) {
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.path, Record().string());
  }
  EXPECT_EQ(FileContents(Record()), "not a record\n");
  EXPECT_FALSE(fs::exists(Entry("nerbo-class.desktop")));
  EXPECT_FALSE(fs::exists(Mimeapps()));
}

TEST_F(DesktopIntegration, ADirectoryThatCannotBeWrittenIsReported) {
  Write(Data() / "applications", "a file where the directory belongs");
  DesktopResult result = InstallDesktopIntegration(kToolPath, true);
  EXPECT_FALSE(result.done);
  EXPECT_EQ(result.path, (Data() / "applications").string());
  EXPECT_NE(result.error_number, 0);
}

}  // namespace
}  // namespace nerbo
