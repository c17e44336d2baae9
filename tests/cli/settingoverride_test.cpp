#include "cli/settingoverride.h"

#include "settings/settings.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(SettingOverride, ReadsValuesAsTheSettingsFileWould)
{
    struct Case
    {
        const char *key;
        const char *value;
        void (*check)(const Settings &);
    };
    const Case cases[] = {
        {"IgnoreCase", "1", [](const Settings &s) { EXPECT_TRUE(s.IgnoreCase); }},
        {"ignorecase", " 0x2 ", [](const Settings &s) { EXPECT_TRUE(s.IgnoreCase); }},
        {"IgnoreJavaScript", "0", [](const Settings &s) { EXPECT_FALSE(s.IgnoreJavaScript); }},
        {"ISSPACEVALID", "-1", [](const Settings &s) { EXPECT_TRUE(s.isSpaceValid); }},
        {"CheckLocalFile", "1", [](const Settings &s) { EXPECT_EQ(s.CheckLocalFile, 1); }},
        {"CheckLocalFile", "7", [](const Settings &s) { EXPECT_EQ(s.CheckLocalFile, 1); }},
        {"CheckLocalFile", "-9", [](const Settings &s) { EXPECT_EQ(s.CheckLocalFile, -1); }},
        {"DefaultFileName", " 'home page.htm' ",
         [](const Settings &s) { EXPECT_EQ(s.DefaultFileName, "home page.htm"); }},
        {"ExtListImg", ".PNG.SVG", [](const Settings &s) { EXPECT_EQ(s.ExtListImg, ".PNG.SVG"); }},
        {"ExtListHTML", "", [](const Settings &s) { EXPECT_EQ(s.ExtListHTML, ""); }},
        {"ModernLinks", "0", [](const Settings &s) { EXPECT_FALSE(s.ModernLinks); }},
        {"Language", "2", [](const Settings &s) { EXPECT_EQ(s.Language, 2); }},
        {"Language", "3", [](const Settings &s) { EXPECT_EQ(s.Language, 0); }},
        {"language", "-1", [](const Settings &s) { EXPECT_EQ(s.Language, 0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        Settings settings;
        EXPECT_EQ(ApplySettingOverride(settings, c.key, c.value), "");
        c.check(settings);
    }
}

TEST(SettingOverride, RefusedValuesLeaveTheSettingsAlone)
{
    const std::pair<const char *, const char *> cases[] = {
        {"NoSuchKey", "1"},        {"IgnoreCase", "yes"}, {"IgnoreCase", ""},
        {"CheckLocalFile", "one"}, {"IgnoreCase", "1x"},  {"DefaultFileName", "a\nb"},
        {"IgnoreCase ", "1"},
    };
    for (const auto &[key, value] : cases) {
        SCOPED_TRACE(std::string(key) + "=" + value);
        Settings settings;
        EXPECT_NE(ApplySettingOverride(settings, key, value), "");
        EXPECT_EQ(settings, Settings{});
    }
}

TEST(SettingOverride, EveryKeyOfTheSettingsFileIsKnown)
{
    for (const char *key :
         {"ExternalEditor", "ExternalViewer", "IgnoreCase", "DefaultFileName", "isSpaceValid",
          "CommandLineOption", "TagJumpCommandLineOption", "AnchorMakesFileBlue", "CheckLocalFile",
          "IgnoreHTMLInfo", "IgnoreJavaScript", "HideInfoBoxAfterCheck", "ExtListHTML",
          "ExtListImg", "ModernLinks", "Language"}) {
        Settings settings;
        EXPECT_EQ(ApplySettingOverride(settings, key, "1"), "") << key;
    }
}

} // namespace
} // namespace orvane::cli
