#include "project/project.h"

#include "base/errors.h"
#include "project/memoryprojectview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvane {
namespace {

using Items = std::vector<std::string>;

struct ProjectTest : ::testing::Test
{
    MemoryProjectView view;
    Project project{view};
};

TEST_F(ProjectTest, StartsFreshAndTouchesNoWindow)
{
    EXPECT_TRUE(project.HomeDir().empty());
    EXPECT_TRUE(project.ServerRoot().empty());
    EXPECT_TRUE(project.FileName().empty());
    EXPECT_EQ(view.mainTitle, "Orvane");
    EXPECT_EQ(view.projectTitle, "プロジェクト情報");
    EXPECT_EQ(view.homeDirLabel, "未設定");
}

TEST_F(ProjectTest, TopFilesAreUpperCasedAndKeepDuplicates)
{
    project.AddTopFile("/site/index.html");
    project.AddTopFile("/site/en/Index.html");
    project.AddTopFile("/SITE/INDEX.HTML");
    EXPECT_EQ(project.TopFiles(),
              (Items{"/SITE/INDEX.HTML", "/SITE/EN/INDEX.HTML", "/SITE/INDEX.HTML"}));
    EXPECT_EQ(view.topFiles.items(), project.TopFiles());
    EXPECT_EQ(project.IndexOfTopFile("/Site/En/index.HTML"), 1);
    EXPECT_EQ(project.IndexOfTopFile("/site/other.html"), -1);

    project.RemoveTopFile("/site/Index.html");
    EXPECT_EQ(project.TopFiles(), (Items{"/SITE/EN/INDEX.HTML", "/SITE/INDEX.HTML"}));
    EXPECT_EQ(view.topFiles.items(), project.TopFiles());
    project.RemoveTopFile("/site/absent.html");
    EXPECT_EQ(project.TopFiles().size(), 2u);

    project.ClearTopFiles();
    EXPECT_TRUE(project.TopFiles().empty());
    EXPECT_TRUE(view.topFiles.items().empty());
}

TEST_F(ProjectTest, IgnoreFilesStaySortedWithoutDuplicates)
{
    project.AddIgnoreFile("/site/b.html");
    project.AddIgnoreFile("/site/_a.html");
    project.AddIgnoreFile("/site/a.html");
    project.AddIgnoreFile("/Site/B.HTML");
    // "_" (0x5F) sorts after the folded letters.
    const Items expected{"/SITE/A.HTML", "/SITE/B.HTML", "/SITE/_A.HTML"};
    EXPECT_EQ(project.IgnoreFiles(), expected);
    EXPECT_EQ(view.ignoreFiles.items(), expected);
    EXPECT_TRUE(project.IsIgnoreFile("/site/_A.html"));
    EXPECT_FALSE(project.IsIgnoreFile("/site/c.html"));

    project.RemoveIgnoreFile("/SITE/b.html");
    EXPECT_EQ(project.IgnoreFiles(), (Items{"/SITE/A.HTML", "/SITE/_A.HTML"}));
    EXPECT_EQ(view.ignoreFiles.items(), project.IgnoreFiles());
    project.RemoveIgnoreFile("/site/b.html");
    EXPECT_EQ(project.IgnoreFiles().size(), 2u);
}

TEST_F(ProjectTest, IgnoreFileSearchFindsEveryEntryOfALongList)
{
    // Every third number of 0..999, added in a shuffled order.
    std::vector<int> numbers;
    for (int i = 0; i < 1000; i += 3)
        numbers.push_back(i);
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
    for (const int n : numbers)
        project.AddIgnoreFile("/site/f" + std::to_string(n) + ".html");
    EXPECT_EQ(project.IgnoreFiles().size(), numbers.size());
    EXPECT_TRUE(std::is_sorted(project.IgnoreFiles().begin(), project.IgnoreFiles().end()));
    EXPECT_EQ(view.ignoreFiles.items(), project.IgnoreFiles());
    for (int i = 0; i < 1000; ++i) {
        const std::string p = "/site/F" + std::to_string(i) + ".Html";
        ASSERT_EQ(project.IsIgnoreFile(p), i % 3 == 0) << p;
    }
}

TEST_F(ProjectTest, ExcludingATopPageDropsItFromTheTopPages)
{
    project.AddTopFile("/site/index.html");
    project.AddTopFile("/site/b.html");
    project.AddIgnoreFile("/Site/Index.html");
    EXPECT_EQ(project.TopFiles(), (Items{"/SITE/B.HTML"}));
    EXPECT_EQ(view.topFiles.items(), project.TopFiles());
    EXPECT_TRUE(project.IsIgnoreFile("/site/index.html"));

    project.ForgetFile("/site/B.html");
    project.ForgetFile("/site/index.html");
    EXPECT_TRUE(project.TopFiles().empty());
    EXPECT_TRUE(project.IgnoreFiles().empty());
    EXPECT_TRUE(view.ignoreFiles.items().empty());
}

TEST_F(ProjectTest, FoldersGetOneTrailingSlash)
{
    project.SetHomeDir("/home/me/site");
    EXPECT_EQ(project.HomeDir(), "/home/me/site/");
    EXPECT_EQ(view.homeDirLabel, "/home/me/site/");
    project.SetHomeDir("");
    EXPECT_EQ(project.HomeDir(), "/home/me/site/");
    EXPECT_EQ(view.homeDirLabel, "/home/me/site/");
    project.SetHomeDir("/a//b/../c/");
    EXPECT_EQ(project.HomeDir(), "/a//b/../c/");

    project.SetServerRoot("/www");
    EXPECT_EQ(project.ServerRoot(), "/www/");
    EXPECT_EQ(view.serverRootLabel, "/www/");
    project.SetServerRoot("/Www/");
    EXPECT_EQ(project.ServerRoot(), "/Www/");
    project.SetServerRoot("");
    EXPECT_EQ(project.ServerRoot(), "");
    EXPECT_EQ(view.serverRootLabel, "未設定");
}

TEST_F(ProjectTest, WildCardsKeepTheirTextAndOrder)
{
    project.AddWildCard("*.bak");
    project.AddWildCard("*.Tmp");
    project.AddWildCard("*.bak");
    project.AddIgnoreFolder("/site/_notes");
    project.AddIgnoreFolder("/site/img/");
    project.AddIgnoreFolder("");
    const Items expected{"*.bak", "*.Tmp", "*.bak", "/SITE/_NOTES/", "/SITE/IMG/"};
    EXPECT_EQ(project.WildCards(), expected);
    EXPECT_EQ(view.wildCards.items(), expected);

    project.RemoveWildCard("*.BAK");
    EXPECT_EQ(project.WildCards(), (Items{"*.Tmp", "*.bak", "/SITE/_NOTES/", "/SITE/IMG/"}));
    EXPECT_EQ(view.wildCards.items(), project.WildCards());
    project.ClearWildCards();
    EXPECT_TRUE(project.WildCards().empty());
    EXPECT_TRUE(view.wildCards.items().empty());
}

TEST_F(ProjectTest, MatchWildCardTestsFilePatternsOnly)
{
    project.AddWildCard("*.bak");
    EXPECT_FALSE(project.MatchWildCard("OLD.BAK", false));
    EXPECT_TRUE(project.MatchWildCard("OLD.BAK", true));
    EXPECT_TRUE(project.MatchWildCard("old.bak", false));
    EXPECT_FALSE(project.MatchWildCard("old.bak.txt", true));

    project.ClearWildCards();
    project.AddWildCard("img/*.gif");
    project.AddIgnoreFolder("/site/x");
    project.AddWildCard("");
    EXPECT_FALSE(project.MatchWildCard("a.gif", true));
    EXPECT_FALSE(project.MatchWildCard("X", true));
    EXPECT_FALSE(project.MatchWildCard("", false));
    EXPECT_FALSE(project.MatchWildCard("", true));
    project.AddWildCard("*");
    EXPECT_TRUE(project.MatchWildCard("anything", false));
}

TEST_F(ProjectTest, FolderPatternsMatchTheFolderAndBelow)
{
    project.AddIgnoreFolder("/Site/tmp");
    project.AddIgnoreFolder("/site/img");
    project.AddWildCard("/site/lower/");
    project.AddWildCard("");
    project.AddWildCard("*.bak");
    const struct
    {
        const char *folder;
        bool expected;
    } cases[] = {
        {"/site/tmp", true},
        {"/Site/TMP/", true},
        {"/site/tmp/old", true},
        {"/site/tmp2", false},
        {"/site/tm", false},
        {"/site/img", true},
        {"/site/images", false},
        {"/site/img/a/b/", true},
        {"/site/lower", false}, // a pattern holding lower case matches nothing
        {"/site/other", false},
        {"", false},
        {"/", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(project.IsIgnoredFolder(c.folder), c.expected);
    }
}

TEST_F(ProjectTest, LinkToPathUsesServerRootForRootedLinks)
{
    const std::string page = "/site/a/page.html";
    EXPECT_EQ(project.LinkToPath(page, "b.html"), "/site/a/b.html");
    EXPECT_EQ(project.LinkToPath(page, "../img/x.gif"), "/site/img/x.gif");
    // Without a server root the link is joined to the page's folder as it stands.
    EXPECT_EQ(project.LinkToPath(page, "/img/x.gif"), "/site/a/img/x.gif");
    project.SetServerRoot("/site");
    EXPECT_EQ(project.LinkToPath(page, "/img/x.gif"), "/site/img/x.gif");
    EXPECT_EQ(project.LinkToPath(page, "b.html"), "/site/a/b.html");
}

TEST_F(ProjectTest, FileNameTitlesBothWindows)
{
    project.SetFileName("/home/me/work/my.ovp");
    EXPECT_EQ(project.FileName(), "/home/me/work/my.ovp");
    EXPECT_EQ(view.mainTitle, "my.ovp - Orvane");
    EXPECT_EQ(view.projectTitle, "my.ovp - プロジェクト情報");
    project.SetFileName("");
    EXPECT_EQ(project.FileName(), "");
    EXPECT_EQ(view.mainTitle, "untitled - Orvane");
    EXPECT_EQ(view.projectTitle, "untitled - プロジェクト情報");
}

// A list that shows nothing it is given.
class DroppingList : public MemoryListView
{
public:
    void add(const std::string &) override {}
};
class DroppingView : public MemoryProjectView
{
public:
    ProjectListView &topFileList() override { return droppingTops; }
    DroppingList droppingTops;
};

TEST(Project, ListMismatchIsAnAssertionFailure)
{
    DroppingView view;
    Project project(view);
    try {
        project.AddTopFile("/site/a.html");
        FAIL() << "no assertion";
    } catch (const EAssertionFailed &e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Assertion failure (OrvaneProjct, "))
            << e.what();
    }
    // What the operation did before its check stays done.
    EXPECT_EQ(project.TopFiles(), (Items{"/SITE/A.HTML"}));
    // The next change checks before it touches anything.
    EXPECT_THROW(project.RemoveTopFile("/site/a.html"), EAssertionFailed);
    EXPECT_EQ(project.TopFiles(), (Items{"/SITE/A.HTML"}));
}

// A list that counts its update brackets.
class BracketList : public MemoryListView
{
public:
    explicit BracketList(bool sorted)
        : MemoryListView(sorted)
    {
    }
    void beginUpdate() override { ++begins; }
    void endUpdate() override { ++ends; }
    int begins = 0;
    int ends = 0;
};
class BracketView : public MemoryProjectView
{
public:
    ProjectListView &topFileList() override { return tops; }
    ProjectListView &ignoreFileList() override { return ignores; }
    ProjectListView &wildCardList() override { return patterns; }
    BracketList tops{false}, ignores{true}, patterns{false};
};

TEST(Project, ClearingRepaintsEachListOnce)
{
    BracketView view;
    Project project(view);
    for (int i = 0; i < 5; ++i) {
        project.AddTopFile("/t" + std::to_string(i));
        project.AddIgnoreFile("/i" + std::to_string(i));
        project.AddWildCard("*." + std::to_string(i));
    }
    project.ClearTopFiles();
    project.ClearIgnoreFiles();
    project.ClearWildCards();
    for (const BracketList *list : {&view.tops, &view.ignores, &view.patterns}) {
        EXPECT_EQ(list->begins, 1);
        EXPECT_EQ(list->ends, 1);
        EXPECT_EQ(list->count(), 0);
    }
    EXPECT_TRUE(project.TopFiles().empty());
    EXPECT_TRUE(project.IgnoreFiles().empty());
    EXPECT_TRUE(project.WildCards().empty());
}

} // namespace
} // namespace orvane
