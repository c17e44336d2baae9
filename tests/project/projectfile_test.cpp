#include "project/projectfile.h"

#include "base/errors.h"
#include "project/memoryprojectview.h"
#include "project/project.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace orvane {
namespace {

using Items = std::vector<std::string>;
using test::readFile;
using test::TempDir;

struct ProjectFileTest : ::testing::Test
{
    TempDir dir;
    MemoryProjectView view;
    Project project{view};

    void load(const std::string &text) { ReadProjectFile(dir.write("p.ovp", text), project); }
};

TEST_F(ProjectFileTest, SavesTheDocumentedLayout)
{
    project.SetHomeDir("/site");
    project.AddTopFile("/site/index.html");
    project.AddTopFile("/site/en/index.html");
    project.AddIgnoreFile("/site/test.html");
    project.AddWildCard("*.bak");
    project.AddIgnoreFolder("/site/_notes");
    const std::string path = dir.path() + "site.ovp";
    WriteProjectFile(path, project);
    EXPECT_EQ(readFile(path), "[OrvaneProject]\r\n"
                              "HomeDir=/site/\r\n"
                              "ServerRoot=\r\n"
                              "TopFile0=/SITE/INDEX.HTML\r\n"
                              "TopFile1=/SITE/EN/INDEX.HTML\r\n"
                              "IgnoreFile0=/SITE/TEST.HTML\r\n"
                              "WildCards0=*.bak\r\n"
                              "WildCards1=/SITE/_NOTES/\r\n");

    MemoryProjectView otherView;
    Project other(otherView);
    other.SetServerRoot("/old/root");
    ReadProjectFile(path, other);
    EXPECT_EQ(other.HomeDir(), project.HomeDir());
    EXPECT_EQ(other.ServerRoot(), "");
    EXPECT_EQ(otherView.serverRootLabel, "未設定");
    EXPECT_EQ(other.TopFiles(), project.TopFiles());
    EXPECT_EQ(other.IgnoreFiles(), project.IgnoreFiles());
    EXPECT_EQ(other.WildCards(), project.WildCards());
    EXPECT_EQ(otherView.topFiles.items(), project.TopFiles());
    EXPECT_EQ(otherView.wildCards.items(), project.WildCards());
}

TEST_F(ProjectFileTest, FreshProjectSavesTwoEmptyKeys)
{
    const std::string path = dir.path() + "fresh.ovp";
    WriteProjectFile(path, project);
    EXPECT_EQ(readFile(path), "[OrvaneProject]\r\nHomeDir=\r\nServerRoot=\r\n");
}

TEST_F(ProjectFileTest, SaveReplacesTheWholeOldFile)
{
    std::string old = "[OrvaneProject]\r\nHomeDir=/old/\r\n";
    for (int i = 0; i < 10; ++i)
        old += "TopFile" + std::to_string(i) + "=/OLD/" + std::to_string(i) + ".HTML\r\n";
    old += "[Other]\r\nX=1\r\n";
    const std::string path = dir.write("p.ovp", old);
    project.SetHomeDir("/new");
    project.SetServerRoot("/new/root");
    project.AddTopFile("/new/a.html");
    project.AddTopFile("/new/b.html");
    WriteProjectFile(path, project);
    EXPECT_EQ(readFile(path), "[OrvaneProject]\r\n"
                              "HomeDir=/new/\r\n"
                              "ServerRoot=/new/root/\r\n"
                              "TopFile0=/NEW/A.HTML\r\n"
                              "TopFile1=/NEW/B.HTML\r\n");
}

TEST_F(ProjectFileTest, ListsEndAtTheFirstMissingNumber)
{
    load("[OrvaneProject]\r\n"
         "TopFile0=/s/a.html\r\nTopFile1=/s/b.html\r\nTopFile3=/s/d.html\r\n"
         "IgnoreFile1=/s/x.html\r\n"
         "WildCards0=*.bak\r\nWildCards1=-1\r\nWildCards2=*.tmp\r\n");
    EXPECT_EQ(project.TopFiles(), (Items{"/S/A.HTML", "/S/B.HTML"}));
    EXPECT_TRUE(project.IgnoreFiles().empty());
    // A pattern typed as -1 is a pattern, not the end of the list.
    EXPECT_EQ(project.WildCards(), (Items{"*.bak", "-1", "*.tmp"}));
}

TEST_F(ProjectFileTest, PatternMinusOneSurvivesSaveAndLoad)
{
    project.AddWildCard("-1");
    project.AddWildCard("*.bak");
    const std::string path = dir.path() + "p.ovp";
    WriteProjectFile(path, project);
    project.ClearWildCards();
    ReadProjectFile(path, project);
    EXPECT_EQ(project.WildCards(), (Items{"-1", "*.bak"}));
}

TEST_F(ProjectFileTest, ReadsWithProfileConventions)
{
    load("; a project\n"
         "[orvaneproject]\n"
         "homedir =  /site  \n"
         "SERVERROOT=\"/www\"\n"
         "topfile0= /site/index.html\n"
         "WILDCARDS0=  *.bak \n"
         "WildCards1=\n"
         "WildCards2=/site/tmp/\n");
    EXPECT_EQ(project.HomeDir(), "/site/");
    EXPECT_EQ(project.ServerRoot(), "/www/");
    EXPECT_EQ(project.TopFiles(), (Items{"/SITE/INDEX.HTML"}));
    EXPECT_EQ(project.WildCards(), (Items{"*.bak", "", "/site/tmp/"}));
    // The empty pattern is kept but tests nothing.
    EXPECT_FALSE(project.MatchWildCard("x", false));
    EXPECT_FALSE(project.IsIgnoredFolder("/"));
}

TEST_F(ProjectFileTest, AByteOrderMarkIsSkippedAndAFifoReadsAsEmpty)
{
    load("\xEF\xBB\xBF[OrvaneProject]\r\nHomeDir=/site/\r\nTopFile0=/SITE/A.HTML\r\n");
    EXPECT_EQ(project.HomeDir(), "/site/");
    EXPECT_EQ(project.TopFiles(), Items{"/SITE/A.HTML"});

    const std::string fifo = dir.path() + "fifo.ovp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ReadProjectFile(fifo, project);
    EXPECT_TRUE(project.TopFiles().empty());
    EXPECT_EQ(project.HomeDir(), "/site/") << "nothing read, the home folder stays";
}

TEST_F(ProjectFileTest, TopPageThatIsAlsoExcludedLoadsAsExcluded)
{
    load("[OrvaneProject]\r\nTopFile0=/s/a.html\r\nTopFile1=/s/b.html\r\n"
         "IgnoreFile0=/S/A.HTML\r\n");
    EXPECT_EQ(project.TopFiles(), (Items{"/S/B.HTML"}));
    EXPECT_EQ(view.topFiles.items(), (Items{"/S/B.HTML"}));
    EXPECT_EQ(project.IgnoreFiles(), (Items{"/S/A.HTML"}));
}

TEST_F(ProjectFileTest, LoadingReplacesListsAndKeepsHomeWhenNoneStored)
{
    project.SetHomeDir("/current");
    project.SetServerRoot("/root");
    project.AddTopFile("/current/index.html");
    project.AddIgnoreFile("/current/x.html");
    project.AddWildCard("*.old");
    load("not a project file at all\r\n");
    EXPECT_EQ(project.HomeDir(), "/current/");
    EXPECT_EQ(project.ServerRoot(), "");
    EXPECT_TRUE(project.TopFiles().empty());
    EXPECT_TRUE(project.IgnoreFiles().empty());
    EXPECT_TRUE(project.WildCards().empty());
    EXPECT_TRUE(view.ignoreFiles.items().empty());
    EXPECT_TRUE(view.wildCards.items().empty());
}

TEST_F(ProjectFileTest, FailedSaveThrowsAndKeepsTheOldFile)
{
    const std::string blocker = dir.write("file", "x");
    const std::string unreachable = blocker + "/p.ovp";
    try {
        WriteProjectFile(unreachable, project);
        FAIL() << "no error";
    } catch (const EWriteError &e) {
        EXPECT_EQ(std::string(e.what()), unreachable + " に書き込めません");
    }

    const std::string old = "[OrvaneProject]\r\nHomeDir=/old/\r\n";
    const std::string path = dir.write("p.ovp", old);
    for (int i = 0; i < 100; ++i)
        project.AddTopFile("/site/page" + std::to_string(i) + ".html");
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteProjectFile(path, project), EWriteError);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(readFile(path), old);
}

} // namespace
} // namespace orvane
