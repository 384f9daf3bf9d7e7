#include "desktop/mime_defaults.h"

#include <gtest/gtest.h>

#include "desktop/desktop_record.h"

namespace nerbo {
namespace {

const std::vector<DefaultApplication> kBoth = {{"application/x-java", "nerbo-class.desktop"},
                                               {"text/x-java", "nerbo-source.desktop"}};
const std::vector<DefaultApplication> kClassOnly = {kBoth[0]};

struct RoundTrip {
  const char* name;
  std::optional<std::string> before;
  std::string installed;  // the text after installing both entries
};

class DefaultsRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(DefaultsRoundTrip, InstallsThenRestoresByteForByte) {
  const RoundTrip& c = GetParam();
  DefaultsChange change;
  const std::string installed = SetDefaults(c.before, kBoth, &change);
  EXPECT_EQ(installed, c.installed);

  // Installing again changes neither the text nor what was saved.
  DefaultsChange again = change;
  EXPECT_EQ(SetDefaults(installed, kBoth, &again), installed);
  EXPECT_EQ(DesktopRecordText({{}, "", again}), DesktopRecordText({{}, "", change}));

  // The change survives the record file it is kept in.
  std::optional<DesktopRecord> record = ParseDesktopRecord(DesktopRecordText({{"/x"}, "/m", change}));
  ASSERT_TRUE(record);
  EXPECT_EQ(RestoreDefaults(installed, kBoth, record->defaults), c.before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DefaultsRoundTrip,
    testing::Values(
        RoundTrip{
            "NoFile", std::nullopt,
            "[Default "
            "Applications]\napplication/x-java=nerbo-class.desktop;\ntext/x-java=nerbo-source.desktop;\n"},
        RoundTrip{
            "EmptyFile", std::string(),
            "[Default "
            "Applications]\napplication/x-java=nerbo-class.desktop;\ntext/x-java=nerbo-source.desktop;\n"},
        RoundTrip{"OtherSectionsOnly", std::string("[Added Associations]\nimage/png=eog.desktop;\n"),
                  "[Added Associations]\nimage/png=eog.desktop;\n[Default Applications]\n"
                  "application/x-java=nerbo-class.desktop;\ntext/x-java=nerbo-source.desktop;\n"},
        RoundTrip{"NoFinalLineFeed", std::string("[Added Associations]\nimage/png=eog.desktop;"),
                  "[Added Associations]\nimage/png=eog.desktop;\n[Default Applications]\n"
                  "application/x-java=nerbo-class.desktop;\ntext/x-java=nerbo-source.desktop;"},
        RoundTrip{
            "ReplacesAndAddsInTheSection",
            std::string("# mine\n[Default Applications]\ntext/html=firefox.desktop\n"
                        "text/x-java = org.gnome.gedit.desktop;code.desktop;\n\n"
                        "[Added Associations]\ntext/x-java=code.desktop;\n"),
            "# mine\n[Default Applications]\ntext/html=firefox.desktop\ntext/x-java=nerbo-source.desktop;\n"
            "application/x-java=nerbo-class.desktop;\n\n"
            "[Added Associations]\ntext/x-java=code.desktop;\n"},
        RoundTrip{
            "EmptySectionOfTheUser", std::string("[Default Applications]\n"),
            "[Default "
            "Applications]\napplication/x-java=nerbo-class.desktop;\ntext/x-java=nerbo-source.desktop;\n"},
        RoundTrip{"CarriageReturns",
                  std::string("[Default Applications]\r\napplication/x-java=jd-gui.desktop\r\n"),
                  "[Default Applications]\r\napplication/x-java=nerbo-class.desktop;\n"
                  "text/x-java=nerbo-source.desktop;\n"}),
    [](const testing::TestParamInfo<RoundTrip>& param_info) { return std::string(param_info.param.name); });

TEST(Defaults, KeepsADefaultTheUserChoseAfterInstallation) {
  const std::string before = "[Default Applications]\ntext/x-java=gedit.desktop;\n";
  DefaultsChange change;
  std::string installed = SetDefaults(before, kBoth, &change);
  std::string chosen = installed;
  chosen.replace(chosen.find("nerbo-source.desktop;"), 21, "code.desktop;");
  EXPECT_EQ(RestoreDefaults(chosen, kBoth, change), "[Default Applications]\ntext/x-java=code.desktop;\n");
}

TEST(Defaults, ASecondInstallationSavesOnlyWhatItReplaced) {
  DefaultsChange change;
  std::string installed =
      SetDefaults(std::string("[Default Applications]\ntext/x-java=gedit.desktop;\n"), kClassOnly, &change);
  // Sources registered by a later installation: the class default stays
  // saved as absent, the source default's earlier line is saved now.
  installed = SetDefaults(installed, kBoth, &change);
  EXPECT_EQ(RestoreDefaults(installed, kBoth, change),
            "[Default Applications]\ntext/x-java=gedit.desktop;\n");
}

TEST(Defaults, ALostRecordStillTakesTheToolsLinesAway) {
  DefaultsChange first;
  const std::string installed = SetDefaults(std::string("[Default Applications]\n"), kBoth, &first);
  DefaultsChange fresh;
  EXPECT_EQ(SetDefaults(installed, kBoth, &fresh), installed);
  EXPECT_EQ(RestoreDefaults(installed, kBoth, fresh), "[Default Applications]\n");
}

TEST(DesktopRecord, RefusesWhatItDidNotWrite) {
  for (const char* text : {"", "Nerbo desktop record 2\n", "Nerbo desktop record 1\nfile /a",
                           "Nerbo desktop record 1\nunknown x\n", "Nerbo desktop record 1\nadded\n",
                           "Nerbo desktop record 1\nreplaced text/x-java\n"}) {
    EXPECT_FALSE(ParseDesktopRecord(text)) << text;
  }
  std::optional<DesktopRecord> record = ParseDesktopRecord(
      "Nerbo desktop record 1\nfile /a b/c.desktop\nmimeapps /m l\ncreated-section\n"
      "replaced text/x-java text/x-java = a b;\nadded application/x-java\n");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->files, std::vector<std::string>{"/a b/c.desktop"});
  EXPECT_EQ(record->mimeapps_path, "/m l");
  EXPECT_TRUE(record->defaults.created_section);
  EXPECT_FALSE(record->defaults.created_file);
  ASSERT_EQ(record->defaults.saved.size(), 2u);
  EXPECT_EQ(record->defaults.saved[0].previous_line, std::optional<std::string>("text/x-java = a b;"));
  EXPECT_EQ(record->defaults.saved[1].previous_line, std::nullopt);
}

}  // namespace
}  // namespace nerbo
