// Writing never damages what is on disk: a replace or a project save that
// fails leaves the old file byte for byte, leaves no temporary file behind
// (which the next check would show as an orphan), and says what went wrong.
#include "commands/replacetext.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/faultsupport.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include "support/deeptree.h"
#include "support/recordinghost.h"

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::readFile;
using test::SiteFixture;

struct AcceptingDialog : ReplacePrompt
{
    std::string replacement;
    bool execute(ReplaceTexts &texts) override
    {
        texts.after = replacement;
        return true;
    }
};

const char *const WriteFailed =
    "ファイルへの書き込み時にエラーが置きました。\r\nファイルが読み取り専用の可能性があります";

TEST(FaultWrites, AReplaceBeyondTheFileSizeLimitKeepsThePageAndTheSite)
{
    SiteFixture f;
    const std::string page = std::string(3000, ' ') + "<a href=old.html>x</a><a href=b.html>b</a>";
    const std::string path = f.dir.write("index.html", page);
    f.dir.write("b.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    f.site.tree.Select(f.node("index.html"));
    f.host.messages.clear();
    f.host.beeps.clear();

    AcceptingDialog dialog;
    dialog.replacement = std::string(2000, 'n') + ".html";
    {
        test::ScopedLimit limit(RLIMIT_FSIZE, 4096);
        ASSERT_TRUE(limit.active());
        replaceClick(f.site, "old.html", dialog);
    }
    EXPECT_EQ(readFile(path), page);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(f.host.messages[0].text, WriteFailed);
    EXPECT_EQ(test::FolderEntries(f.dir.path()),
              (std::vector<std::string>{"b.html", "index.html"}));

    // The next check sees the same site: no stray temporary file, same links.
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(f.files(), (std::vector<std::string>{"b.html", "index.html"}));
    EXPECT_EQ(f.object("index.html")->InvalidLinks.ToVector(),
              std::vector<std::string>{"old.html"});
}

TEST(FaultWrites, AReplaceOnAPageThatIsNoLongerAFileWritesNothing)
{
    SiteFixture f;
    const std::string path = f.dir.write("index.html", "<a href=old.html>x</a>");
    CheckFolder(f.site, f.dir.path(), false);
    f.site.tree.Select(f.node("index.html"));
    f.host.messages.clear();
    // Replaced by a folder since the check: reading it fails, nothing is written.
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    AcceptingDialog dialog;
    dialog.replacement = "new.html";
    EXPECT_ANY_THROW(replaceClick(f.site, "old.html", dialog));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "ファイルをオープンできません\r\n" + path);
    EXPECT_EQ(test::FolderEntries(f.dir.path()), std::vector<std::string>{"index.html"});
    EXPECT_TRUE(test::FolderEntries(path).empty());
}

TEST(FaultWrites, AReplaceKilledAtAnyMomentKeepsThePageAndLeavesNothingShown)
{
    SiteFixture f;
    std::string oldPage;
    for (int i = 0; i < 4 << 20; ++i)
        oldPage += "old.html ";
    const std::string path = f.dir.write("page.html", oldPage);
    std::string newPage = oldPage;
    for (size_t at = 0; (at = newPage.find("old.html", at)) != std::string::npos; at += 8)
        newPage.replace(at, 8, "new.html");
    const std::string &home = f.dir.path();

    for (const int delayMs : {0, 2, 5, 10, 20, 40, 80, 160}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            test::RecordingHost host;
            ReplaceInFile(home, path, "old.html", "new.html", host);
            _exit(0);
        }
        usleep(delayMs * 1000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = readFile(path);
        EXPECT_TRUE(now == oldPage || now == newPage) << "killed after " << delayMs << " ms";
        CheckFolder(f.site, home, false);
        EXPECT_EQ(f.files(), std::vector<std::string>{"page.html"}) << delayMs << " ms";
        // Start each round from the old page.
        test::WriteFileAt(AT_FDCWD, path, oldPage);
    }
    // Whatever a kill left is removed by the next replace in the folder once
    // its writer is gone (and a moment has passed).
    for (const std::string &name : test::FolderEntries(home)) {
        const timespec old[2] = {{0, UTIME_OMIT}, {time(nullptr) - 60, 0}};
        utimensat(AT_FDCWD, (home + name).c_str(), old, AT_SYMLINK_NOFOLLOW);
    }
    test::RecordingHost host;
    EXPECT_TRUE(ReplaceInFile(home, path, "old.html", "new.html", host));
    EXPECT_EQ(test::FolderEntries(home), std::vector<std::string>{"page.html"});
    EXPECT_EQ(readFile(path), newPage);
}

struct SaveSite : SiteFixture
{
    std::string path;
    std::string old;

    SaveSite()
    {
        for (int i = 0; i < 50; ++i)
            dir.write("page" + std::to_string(i) + ".html", "");
        for (int i = 0; i < 50; ++i)
            project.AddTopFile(dir.path() + "page" + std::to_string(i) + ".html");
        CheckFolder(site, dir.path(), true);
        path = dir.write("site.ovp", "[OrvaneProject]\r\nHomeDir=/old/\r\n");
        old = readFile(path);
        project.SetFileName(dir.path() + "before.ovp");
        host.messages.clear();
    }

    void expectReportedAndKept(const std::string &shownPath)
    {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(host.messages[0].text, shownPath + " に書き込めません");
        EXPECT_EQ(readFile(path), old);
        EXPECT_EQ(project.FileName(), dir.path() + "before.ovp");
        EXPECT_EQ(view.mainTitle, "before.ovp - Orvane");
    }
};

TEST(FaultWrites, AProjectSaveBeyondTheFileSizeLimitKeepsTheOldFile)
{
    SaveSite f;
    {
        test::ScopedLimit limit(RLIMIT_FSIZE, 512);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(SaveProject(f.site, f.path));
    }
    f.expectReportedAndKept(f.path);
    EXPECT_EQ(test::FolderEntries(f.dir.path()).size(), 51u) << "no temporary file is left";
}

TEST(FaultWrites, AProjectSaveWhereNoFileCanBeKeepsWhatIsThere)
{
    SaveSite f;
    // A folder where the file should go, and a path below a regular file:
    // both refuse the file, root or not.
    const std::string folder = f.dir.mkdir("taken.ovp");
    const std::string taken = folder.substr(0, folder.size() - 1);
    EXPECT_FALSE(SaveProject(f.site, taken));
    f.expectReportedAndKept(taken);
    EXPECT_TRUE(test::FolderEntries(folder).empty());

    f.host.messages.clear();
    const std::string below = f.path + "/p.ovp";
    EXPECT_FALSE(SaveProject(f.site, below));
    f.expectReportedAndKept(below);
}

} // namespace
} // namespace orvane
