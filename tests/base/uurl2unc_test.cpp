#include "base/uurl2unc.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace orvane {
namespace {

struct ExpandCase
{
    const char *name;
    const char *input;
    const char *expected;
};

TEST(URLToPath, ExpandFileNameIsLexical)
{
    const ExpandCase cases[] = {
        {"plain", "/a/b/c.html", "/a/b/c.html"},
        {"trailing slash stays", "/a/b/", "/a/b/"},
        {"dot segment", "/a/./b.html", "/a/b.html"},
        {"dotdot segment", "/a/x/../b.html", "/a/b.html"},
        {"final dot leaves no slash", "/a/b/.", "/a/b"},
        {"final dotdot leaves no slash", "/a/b/..", "/a"},
        {"dotdot with trailing slash", "/a/b/../", "/a/"},
        {"above root stays at root", "/../../x", "/x"},
        {"root", "/", "/"},
        {"only dotdot", "/..", "/"},
        {"repeated slashes collapse", "/a//b///c", "/a/b/c"},
        {"dots inside names stay", "/a/..b/c../.d", "/a/..b/c../.d"},
    };
    for (const ExpandCase &c : cases)
        EXPECT_EQ(ExpandFileName(c.input), c.expected) << c.name;
}

TEST(URLToPath, RelativePathsStartAtTheCurrentFolder)
{
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    const std::string cwd = buffer;
    EXPECT_EQ(ExpandFileName("x/y.html"), cwd + "/x/y.html");
    EXPECT_EQ(ExpandFileName(""), cwd == "/" ? "/" : cwd + "/");
}

TEST(URLToPath, JoinsTheLinkToTheFolderOfTheBase)
{
    const ExpandCase cases[] = {
        {"sibling", "page.html", "/site/sub/page.html"},
        {"sub folder", "deep/x.gif", "/site/sub/deep/x.gif"},
        {"parent", "../index.html", "/site/index.html"},
        {"out of the site", "../../other/x.html", "/other/x.html"},
        {"backslashes are separators", "..\\img\\a.gif", "/site/img/a.gif"},
        {"absolute link", "/etc/x", "/site/sub/etc/x"},
        {"fragment cut from the link", "a.html#top", "/site/sub/a.html"},
        {"folder link keeps its slash", "deep/", "/site/sub/deep/"},
    };
    for (const ExpandCase &c : cases)
        EXPECT_EQ(URLToPath("/site/sub/page.html", c.input), c.expected) << c.name;
}

TEST(URLToPath, HashInThePageFolderIsPartOfThePath)
{
    // Cutting at the first "#" of the joined path would lose the folder name.
    EXPECT_EQ(URLToPath("/site/c#/index.html", "a.html"), "/site/c#/a.html");
    EXPECT_EQ(URLToPath("/site/c#/index.html", "a.html#x"), "/site/c#/a.html");
}

} // namespace
} // namespace orvane
