#include "settings/language.h"

#include "settings/settings.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::ScopedEnv;
using test::TempDir;

TEST(LocaleLanguage, JapaneseForJapaneseAndTheCLocaleEnglishForAnyOtherLanguage)
{
    const struct
    {
        LocaleVariables locale;
        InterfaceLanguage expected;
    } cases[] = {
        {{"", "", ""}, InterfaceLanguage::Japanese},
        {{"", "", "C"}, InterfaceLanguage::Japanese},
        {{"", "", "C.UTF-8"}, InterfaceLanguage::Japanese},
        {{"", "", "POSIX"}, InterfaceLanguage::Japanese},
        {{"", "", "ja_JP.UTF-8"}, InterfaceLanguage::Japanese},
        {{"", "", "ja_JP.eucJP@euro"}, InterfaceLanguage::Japanese},
        {{"", "", "ja"}, InterfaceLanguage::Japanese},
        {{"", "", "japanese"}, InterfaceLanguage::Japanese},
        {{"", "", "en_US.UTF-8"}, InterfaceLanguage::English},
        {{"", "", "de_DE"}, InterfaceLanguage::English},
        {{"", "", "fr"}, InterfaceLanguage::English},
        {{"", "", "jam_JM"}, InterfaceLanguage::English}, // a language that starts with "ja"
        {{"", "", "Cy_GB"}, InterfaceLanguage::English},  // nor is every "C..." the C locale
        // LC_ALL wins over LC_MESSAGES, which wins over LANG; empty ones count as unset.
        {{"C", "de_DE.UTF-8", "en_US.UTF-8"}, InterfaceLanguage::Japanese},
        {{"en_GB.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8"}, InterfaceLanguage::English},
        {{"", "ja_JP.UTF-8", "en_US.UTF-8"}, InterfaceLanguage::Japanese},
        {{"", "POSIX", "de_DE.UTF-8"}, InterfaceLanguage::Japanese},
        {{"", "en_US.UTF-8", "ja_JP.UTF-8"}, InterfaceLanguage::English},
        {{"", "", "ja_JP.UTF-8"}, InterfaceLanguage::Japanese},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("LC_ALL=" + c.locale.all + " LC_MESSAGES=" + c.locale.messages +
                     " LANG=" + c.locale.lang);
        EXPECT_EQ(LocaleLanguage(c.locale), c.expected);
    }
}

TEST(LocaleLanguage, ReadsTheVariablesOfTheProcess)
{
    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv messages("LC_MESSAGES", "de_DE.UTF-8");
    ScopedEnv lang("LANG", "ja_JP.UTF-8");
    const LocaleVariables locale = LocaleVariables::FromEnvironment();
    EXPECT_EQ(locale.all, "");
    EXPECT_EQ(locale.messages, "de_DE.UTF-8");
    EXPECT_EQ(locale.lang, "ja_JP.UTF-8");
    EXPECT_EQ(LocaleLanguage(locale), InterfaceLanguage::English);
}

TEST(ChooseLanguage, TheSettingOverridesTheLocaleUnlessItIsAutomatic)
{
    const LocaleVariables english{"", "", "en_US.UTF-8"};
    const LocaleVariables japanese{"", "", "ja_JP.UTF-8"};
    EXPECT_EQ(ChooseLanguage(LanguageAuto, english), InterfaceLanguage::English);
    EXPECT_EQ(ChooseLanguage(LanguageAuto, japanese), InterfaceLanguage::Japanese);
    EXPECT_EQ(ChooseLanguage(LanguageJapanese, english), InterfaceLanguage::Japanese);
    EXPECT_EQ(ChooseLanguage(LanguageEnglish, japanese), InterfaceLanguage::English);
    EXPECT_EQ(ChooseLanguage(LanguageEnglish, {}), InterfaceLanguage::English);
    EXPECT_EQ(ChooseLanguage(7, english), InterfaceLanguage::English) << "out of range: automatic";
    EXPECT_EQ(ChooseLanguage(-1, japanese), InterfaceLanguage::Japanese);
}

TEST(LanguageNamed, KnowsJaAndEnOnly)
{
    InterfaceLanguage language = InterfaceLanguage::Japanese;
    EXPECT_TRUE(LanguageNamed("en", language));
    EXPECT_EQ(language, InterfaceLanguage::English);
    EXPECT_TRUE(LanguageNamed("JA", language));
    EXPECT_EQ(language, InterfaceLanguage::Japanese);
    for (const char *name : {"", "de", "english", "en_US", "j"}) {
        language = InterfaceLanguage::English;
        EXPECT_FALSE(LanguageNamed(name, language)) << name;
        EXPECT_EQ(language, InterfaceLanguage::English) << "left alone on a refused name";
    }
}

TEST(Settings, LanguageOutOfRangeOrMissingReadsAsAutomatic)
{
    TempDir dir;
    const struct
    {
        const char *line;
        int expected;
    } cases[] = {
        {"", 0},
        {"Language=1\n", 1},
        {"Language=2\n", 2},
        {"Language=3\n", 0},
        {"Language=-1\n", 0},
        {"Language=English\n", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const std::string path = dir.write("orvane.ini", std::string("[Option]\n") + c.line);
        Settings settings;
        settings.Language = 1;
        LoadSettings(settings, path);
        EXPECT_EQ(settings.Language, c.expected);
    }
}

} // namespace
} // namespace orvane
