#include "cli/checkcommand.h"
#include "cli/options.h"
#include "support/tempdir.h"
#include "translations/translator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

/// The checker with the default settings (unless args name others) and the
/// given locale variables.
Outcome check(std::vector<std::string> args, const LocaleVariables &locale = {})
{
    if (std::find(args.begin(), args.end(), "-s") == args.end())
        args.insert(args.begin(), {"-s", "/dev/null"});
    cli::RunEnvironment environment;
    environment.locale = locale;
    std::ostringstream out, err;
    Outcome run;
    run.status = cli::RunCheck(args, out, err, environment);
    run.out = out.str();
    run.err = err.str();
    return run;
}

const LocaleVariables EnglishLocale{"", "", "en_US.UTF-8"};
const LocaleVariables GermanLocale{"", "de_DE.UTF-8", "ja_JP.UTF-8"};

void writeSite(const TempDir &dir)
{
    dir.write("index.html", "<a href=\"gone.html\">x</a> <a href=\"a.html#nowhere\">y</a>\n");
    dir.write("a.html", "<p>a</p>\n");
    dir.write("lost.html", "<p>lost</p>\n");
}

const char *const EnglishReport = "Files with invalid links 1\n"
                                  "Invalid links in all 2\n"
                                  "orphaned files:\n"
                                  "a.html\n"
                                  "lost.html\n"
                                  "invalid links:\n"
                                  "index.html:1: gone.html (missing file)\n"
                                  "index.html:1: a.html#nowhere (missing anchor)\n";
const char *const JapaneseReport = "無効リンクを含むファイルの数 1\n"
                                   "無効リンクの総数 2\n"
                                   "orphaned files:\n"
                                   "a.html\n"
                                   "lost.html\n"
                                   "invalid links:\n"
                                   "index.html:1: gone.html (missing file)\n"
                                   "index.html:1: a.html#nowhere (missing anchor)\n";

TEST(CheckLanguage, LangEnGivesTheEnglishReportAndLeavesTheLanguageAsItWas)
{
    TempDir dir;
    writeSite(dir);
    const Outcome english = check({"--lang", "en", dir.path()});
    EXPECT_EQ(english.status, 1);
    EXPECT_EQ(english.out, EnglishReport);
    EXPECT_EQ(english.err, "");
    EXPECT_EQ(CurrentLanguage(), InterfaceLanguage::Japanese);
    EXPECT_EQ(check({dir.path()}).out, JapaneseReport);

    const Outcome annotations = check({"--lang=en", "--format", "github", dir.path()});
    EXPECT_NE(annotations.out.find("::Invalid link: gone.html (missing file)\n"), std::string::npos)
        << annotations.out;
    EXPECT_NE(annotations.out.find("::Orphaned file: no path of links from the top pages reaches "
                                   "it\n"),
              std::string::npos)
        << annotations.out;
}

TEST(CheckLanguage, TheLocaleChoosesUnlessLangOrTheLanguageSettingDoes)
{
    TempDir dir;
    writeSite(dir);
    EXPECT_EQ(check({dir.path()}, EnglishLocale).out, EnglishReport);
    EXPECT_EQ(check({dir.path()}, GermanLocale).out, EnglishReport) << "LC_MESSAGES before LANG";
    EXPECT_EQ(check({dir.path()}, {"C", "", "en_US.UTF-8"}).out, JapaneseReport);
    EXPECT_EQ(check({"--lang", "ja", dir.path()}, EnglishLocale).out, JapaneseReport);
    EXPECT_EQ(check({"-o", "Language=1", dir.path()}, EnglishLocale).out, JapaneseReport);
    EXPECT_EQ(check({"-o", "Language=2", dir.path()}).out, EnglishReport);
    EXPECT_EQ(check({"-o", "Language=2", "--lang", "ja", dir.path()}).out, JapaneseReport)
        << "--lang wins over the setting";
    TempDir settings;
    const std::string ini = settings.write("orvane.ini", "[Option]\r\nLanguage=2\r\n");
    EXPECT_EQ(check({"-s", ini, dir.path()}).out, EnglishReport);
    EXPECT_EQ(check({"-s", ini, "-o", "Language=0", dir.path()}, {"", "", "ja_JP.UTF-8"}).out,
              JapaneseReport);
}

TEST(CheckLanguage, MessagesAndHelpFollowTheLanguage)
{
    TempDir dir;
    const Outcome missing = check({"--lang", "en", dir.path() + "none.ovp"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "orvane-check: " + dir.path() + "none.ovp was not found\n");
    EXPECT_EQ(check({dir.path() + "none.ovp"}).err,
              "orvane-check: " + dir.path() + "none.ovp が見つかりません\n");
    const Outcome folder = check({dir.path() + "no-folder"}, EnglishLocale);
    EXPECT_EQ(folder.err, "orvane-check: The folder does not exist " + dir.path() + "no-folder/\n");

    const Outcome refused = check({"--lang", "fr", dir.path()});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "orvane-check: --lang takes en or ja, not \"fr\"\n"
                           "Try 'orvane-check --help' for more information.\n");

    const Outcome japaneseHelp = check({"--help"});
    EXPECT_EQ(japaneseHelp.out, cli::HelpText());
    const Outcome englishHelp = check({"--help"}, EnglishLocale);
    EXPECT_NE(englishHelp.out.find("  Files with invalid links N\n  Invalid links in all M\n"),
              std::string::npos);
    EXPECT_NE(englishHelp.out.find("--lang LANG"), std::string::npos);
    for (const char c : englishHelp.out)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "English help is ASCII throughout";
}

TEST(CheckLanguage, TheJsonReportIsTheSameInEitherLanguage)
{
    TempDir dir;
    writeSite(dir);
    const Outcome japanese = check({"--json", dir.path()});
    const Outcome english = check({"--json", "--lang", "en", dir.path()});
    EXPECT_EQ(japanese.status, 1);
    EXPECT_NE(japanese.out.find("\"invalidLinkTotal\""), std::string::npos);
    EXPECT_EQ(english.out, japanese.out);
}

} // namespace
} // namespace orvane::test
