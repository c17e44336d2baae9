#include "cli/githubreport.h"

#include "clirun.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

using test::CliResult;
using test::CurrentFolder;
using test::runChecker;
using test::TempDir;

TEST(GithubReport, EscapingKeepsEachCommandOnItsLine)
{
    struct Row
    {
        const char *name;
        std::string text;
        std::string data;
        std::string property;
    };
    const Row rows[] = {
        {"plain", "a/b.html", "a/b.html", "a/b.html"},
        {"percent first", "%0A", "%250A", "%250A"},
        {"line breaks", "a\r\nb\nc\r", "a%0D%0Ab%0Ac%0D", "a%0D%0Ab%0Ac%0D"},
        {"separators only in properties", "a:b,c", "a:b,c", "a%3Ab%2Cc"},
        {"other control characters", "t\tu\x01v\x7f", "t\\tu\\x01v\\x7F", "t\\tu\\x01v\\x7F"},
        {"utf-8 stays", "ページ.html", "ページ.html", "ページ.html"},
        {"shift-jis is decoded", "\x83\x79\x81\x5B\x83\x57", "ページ", "ページ"},
        {"workflow command inside", "::error::x", "::error::x", "%3A%3Aerror%3A%3Ax"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(EscapeWorkflowData(row.text), row.data) << row.name;
        EXPECT_EQ(EscapeWorkflowProperty(row.text), row.property) << row.name;
    }
}

TEST(GithubReport, PathsAreRelativeToTheFolder)
{
    struct Row
    {
        const char *path;
        const char *folder;
        const char *relative;
    };
    const Row rows[] = {
        {"/w/site/a.html", "/w", "site/a.html"},
        {"/w/site/a.html", "/w/", "site/a.html"},
        {"/w/site/a.html", "/w/site/sub", "../a.html"},
        {"/w/site/a.html", "/x/y", "../../w/site/a.html"},
        {"/w/site/a.html", "/", "w/site/a.html"},
        {"/w/sitemap/a.html", "/w/site", "../sitemap/a.html"},
        {"/w/site", "/w/site", "."},
    };
    for (const Row &row : rows)
        EXPECT_EQ(PathRelativeTo(row.path, row.folder), row.relative)
            << row.path << " from " << row.folder;
}

TEST(GithubReport, OneAnnotationPerInvalidLinkAndPerOrphan)
{
    TempDir dir;
    dir.write("site/index.html", "<a href=\"a.html\">A</a>\n"
                                 "<p>\n"
                                 "<a href=\"gone.html\">x</a> <a href=\"gone.html\">again</a>\n"
                                 "<a href=\"100%.html\">p</a>\n"
                                 "<a href=\"bro\r\nken.html\">b</a>\n");
    dir.write("site/a.html", "<a href=\"index.html\">back</a>\n");
    dir.write("site/sub/lost,1:2.html", "<p>lost</p>\n");
    {
        CurrentFolder here(dir.path());
        const CliResult result = runChecker({"--format", "github", "site"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, "無効リンクを含むファイルの数 1\n"
                              "無効リンクの総数 3\n"
                              "::error file=site/index.html,line=3::無効リンク: gone.html "
                              "(missing file)\n"
                              "::error file=site/index.html,line=4::無効リンク: 100%25.html "
                              "(missing file)\n"
                              "::error file=site/index.html,line=5::無効リンク: broken.html "
                              "(missing file)\n"
                              "::warning file=site/sub/lost%2C1%3A2.html::" +
                                  std::string(OrphanAnnotation) + "\n");
    }
    CurrentFolder inside(dir.path() + "site/sub");
    const CliResult result = runChecker({"--json", "-f", "github", "-q", ".."});
    EXPECT_NE(result.out.find("::error file=../index.html,line=3::"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("::warning file=lost%2C1%3A2.html::"), std::string::npos)
        << result.out;
}

} // namespace
} // namespace orvane::cli
