#include "cli/options.h"
#include "clirun.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

/// A top page linking an image twice, a page that moved, a wrongly written
/// image and a near-miss anchor; an orphan that links the image too; an image
/// nobody links.
void writeSite(const TempDir &dir)
{
    dir.write("index.html", "<p>\n<img src=\"img/a.gif\">\n<a href=\"old/b.html#s1\">b</a>\n"
                            "<a href=\"Img/Unused.GIF\">case</a> <img src=\"img/a.gif\">\n"
                            "<a href=\"new/b.html#sl\">near</a>\n<a href=\"new/b.html\">b</a>\n");
    dir.write("new/b.html", "<a name=\"s1\"></a>");
    dir.write("img/a.gif", "GIF89a");
    dir.write("img/unused.gif", "GIF89a");
    dir.write("lost.html", "\n\n<img src=\"img/a.gif\">");
}

TEST(CheckCommandReferrers, PrintsThePagesLinkingToOneFile)
{
    TempDir dir;
    writeSite(dir);
    const CliResult image = runChecker({"--referrers", "img/a.gif", dir.path()});
    EXPECT_EQ(image.status, 0) << image.err;
    // In the order of the scan: lost.html comes before the folders' pages.
    const std::string lines = image.out.substr(image.out.find('\n') + 1);
    EXPECT_EQ(image.out.substr(0, image.out.find('\n') + 1), "pages linking to img/a.gif:\n");
    EXPECT_NE(lines.find("index.html:2 (reached)\n"), std::string::npos) << image.out;
    EXPECT_NE(lines.find("lost.html:3 (unreached)\n"), std::string::npos) << image.out;
    EXPECT_EQ(lines.size(),
              std::string("index.html:2 (reached)\nlost.html:3 (unreached)\n").size());

    const CliResult unused =
        runChecker({"--referrers=" + dir.path() + "img/unused.gif", dir.path()});
    EXPECT_EQ(unused.out, "pages linking to img/unused.gif:\norphaned: no page links here\n");

    const CliResult json = runChecker({"--json", "--referrers", "img/a.gif", dir.path()});
    EXPECT_NE(json.out.find("{\"path\": \"img/a.gif\", \"referrers\": [\n    "), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("{\"page\": \"index.html\", \"line\": 2, \"state\": \"reached\"}"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.find("orphanReason"), std::string::npos);
    const CliResult jsonUnused =
        runChecker({"--json", "--referrers", "img/unused.gif", dir.path()});
    EXPECT_EQ(jsonUnused.out, "{\"path\": \"img/unused.gif\", \"referrers\": [], "
                              "\"orphanReason\": \"no page links here\"}\n");

    const CliResult missing = runChecker({"--referrers", "nowhere.gif", dir.path()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("nowhere.gif: not a file of the site"), std::string::npos);
}

TEST(CheckCommandReferrers, ReportsGiveHintsAndReferrersOnlyWhenAsked)
{
    TempDir dir;
    writeSite(dir);
    const CliResult text = runChecker({dir.path()});
    EXPECT_NE(text.out.find("index.html:3: old/b.html#s1 (missing file) -> new/b.html#s1\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("index.html:4: Img/Unused.GIF (missing file) -> img/unused.gif\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("index.html:5: new/b.html#sl (missing anchor) -> new/b.html#s1\n"),
              std::string::npos)
        << text.out;

    const CliResult github = runChecker({"--format", "github", dir.path()});
    EXPECT_NE(github.out.find("old/b.html#s1 (missing file) -> new/b.html#s1\n"), std::string::npos)
        << github.out;

    const CliResult json = runChecker({"--json", dir.path()});
    EXPECT_NE(
        json.out.find("\"hints\": {\"Img/Unused.GIF\": \"img/unused.gif\", \"new/b.html#sl\": "
                      "\"new/b.html#s1\", \"old/b.html#s1\": \"new/b.html#s1\"}"),
        std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.find("\"hints\"", json.out.find("\"hints\"") + 1), std::string::npos)
        << "only the page that has any";
    EXPECT_EQ(json.out.find("\"referrers\""), std::string::npos) << "off by default";

    const CliResult all = runChecker({"--json", "--referrers-all", dir.path()});
    EXPECT_NE(all.out.find("\"path\": \"img/unused.gif\""), std::string::npos);
    EXPECT_NE(all.out.find("\"referrers\": []"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("\"referrers\": [{\"page\": \"index.html\", \"line\": 6, \"state\": "
                           "\"reached\"}]"),
              std::string::npos)
        << "new/b.html, linked validly on line 6 only\n"
        << all.out;
}

TEST(CheckCommandReferrers, OptionsTakeOneFile)
{
    using cli::ParseOptions;
    const cli::CheckOptions options =
        ParseOptions({"--referrers", "a.gif", "--referrers-all", "s"});
    EXPECT_EQ(options.referrersOf, "a.gif");
    EXPECT_TRUE(options.referrersAll);
    EXPECT_FALSE(ParseOptions({"s"}).referrersAll);
    EXPECT_THROW(ParseOptions({"--referrers", "a", "--referrers", "b", "s"}), cli::UsageError);
    EXPECT_THROW(ParseOptions({"--referrers="}), cli::UsageError);
    EXPECT_THROW(ParseOptions({"--referrers-all=1", "s"}), cli::UsageError);
}

} // namespace
} // namespace orvane::test
