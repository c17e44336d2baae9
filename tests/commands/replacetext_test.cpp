#include "commands/replacetext.h"

#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/readfileall.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <optional>

namespace orvane {
namespace {

using test::readFile;
using test::SiteFixture;

struct FakeReplacePrompt : ReplacePrompt
{
    bool execute(ReplaceTexts &texts) override
    {
        shown = texts;
        if (replacement)
            texts.after = *replacement;
        return ok;
    }
    std::optional<ReplaceTexts> shown;
    std::optional<std::string> replacement;
    bool ok = true;
};

struct ReplaceSite : SiteFixture
{
    explicit ReplaceSite(const std::string &page)
    {
        path = dir.write("sub/page.html", page);
        CheckFolder(site, dir.path(), false);
        host.messages.clear();
        host.beeps.clear();
        site.tree.Select(node("sub/page.html"));
    }
    mode_t mode() const
    {
        struct stat st
        {
        };
        stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }
    /// Names in the page's folder, to see that no temporary file is left.
    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        if (DIR *d = opendir((dir.path() + "sub").c_str())) {
            while (dirent *e = readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }
    void expectWarningOnly()
    {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(host.messages[0].text, "ファイルへの書き込み時にエラーが置きました。\r\n"
                                         "ファイルが読み取り専用の可能性があります");
        EXPECT_TRUE(host.beeps.empty());
    }
    void expectDone()
    {
        EXPECT_EQ(host.beeps, std::vector<Sound>{Sound::Asterisk});
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].kind, MessageKind::Information);
        EXPECT_EQ(host.messages[0].text, "置換が完了しました");
    }
    std::string path;
    FakeReplacePrompt dialog;
};

const char *const Page = "<a href=\"old.html\">old.html</a>\r\n"
                         "<!-- old.html --><A HREF=\"OLD.HTML\"></A>\n";

TEST(Replace, CancelShowsTheTextsAndTouchesNothing)
{
    ReplaceSite f(Page);
    ASSERT_EQ(chmod(f.path.c_str(), 0640), 0);
    struct stat before
    {
    };
    stat(f.path.c_str(), &before);
    f.dialog.ok = false;
    f.dialog.replacement = "new.html";
    replaceClick(f.site, "old.html", f.dialog);
    ASSERT_TRUE(f.dialog.shown);
    EXPECT_EQ(f.dialog.shown->fileName, "page.html");
    EXPECT_EQ(f.dialog.shown->before, "old.html");
    EXPECT_EQ(f.dialog.shown->after, "old.html") << "the replacement starts as a copy";
    EXPECT_EQ(readFile(f.path), Page);
    struct stat after
    {
    };
    stat(f.path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "not even rewritten";
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_TRUE(f.host.beeps.empty());
}

TEST(Replace, ReplacesEveryExactOccurrenceAndKeepsThePermissions)
{
    ReplaceSite f(Page);
    f.settings.IgnoreCase = true; // no influence: the replace is always exact
    ASSERT_EQ(chmod(f.path.c_str(), 0604), 0);
    f.dialog.replacement = "old.html.bak";
    replaceClick(f.site, "old.html", f.dialog);
    EXPECT_EQ(readFile(f.path), "<a href=\"old.html.bak\">old.html.bak</a>\r\n"
                                "<!-- old.html.bak --><A HREF=\"OLD.HTML\"></A>\n");
    EXPECT_EQ(f.mode(), 0604u);
    f.expectDone();
    EXPECT_EQ(f.folderEntries(), std::vector<std::string>{"page.html"});
    const FileObject *page = f.object("sub/page.html");
    EXPECT_GE(page->Links.IndexOf("old.html"), 0) << "the page is not read again";
    EXPECT_EQ(page->Links.IndexOf("old.html.bak"), -1);
}

TEST(Replace, UnchangedTextStillRewritesAndReports)
{
    for (const std::string clicked : {"old.html", "absent.html"}) {
        ReplaceSite f(std::string("a\0b old.html", 12));
        replaceClick(f.site, clicked, f.dialog); // OK with the text as it was
        EXPECT_EQ(readFile(f.path), "a b old.html") << "a NUL comes back as a blank";
        f.expectDone();
    }
}

TEST(Replace, AHintedLinkStartsWithTheSuggestion)
{
    ReplaceSite f("<a href=\"../old/moved.html#top\">m</a> <a href=\"Pic.GIF\">p</a>\n"
                  "<a href=\"nothing.html\">n</a>\n");
    f.dir.write("new/moved.html", "");
    f.dir.write("sub/pic.gif", "");
    CheckFolder(f.site, f.dir.path(), false);
    f.site.tree.Select(f.node("sub/page.html"));
    f.host.messages.clear();
    f.host.beeps.clear();

    replaceClick(f.site, "../old/moved.html#top", f.dialog);
    ASSERT_TRUE(f.dialog.shown);
    EXPECT_EQ(f.dialog.shown->before, "../old/moved.html#top");
    EXPECT_EQ(f.dialog.shown->after, "../new/moved.html#top") << "the one file of that name";
    EXPECT_NE(readFile(f.path).find("\"../new/moved.html#top\""), std::string::npos)
        << "confirmed as suggested";
    f.expectDone();

    f.dialog.ok = false;
    replaceClick(f.site, "Pic.GIF", f.dialog);
    EXPECT_EQ(f.dialog.shown->after, "pic.gif") << "the file differs only in letter case";
    replaceClick(f.site, "nothing.html", f.dialog);
    EXPECT_EQ(f.dialog.shown->after, "nothing.html") << "no hint: a copy as before";
}

TEST(Replace, AReadOnlyPageGivesTheWarningAndStaysAsItWas)
{
    ReplaceSite f(Page);
    ASSERT_EQ(chmod(f.path.c_str(), 0444), 0);
    f.dialog.replacement = "new.html";
    replaceClick(f.site, "old.html", f.dialog);
    EXPECT_EQ(readFile(f.path), Page);
    EXPECT_EQ(f.mode(), 0444u);
    f.expectWarningOnly();
}

TEST(Replace, AFailedWriteLeavesThePageAsItWas)
{
    ReplaceSite f(std::string(4096, 'x') + "old.html");
    f.dialog.replacement = "new.html";
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    replaceClick(f.site, "old.html", f.dialog);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(readFile(f.path), std::string(4096, 'x') + "old.html");
    EXPECT_EQ(f.folderEntries(), std::vector<std::string>{"page.html"}) << "no temporary file left";
    f.expectWarningOnly();
}

TEST(Replace, AFolderThatRefusesNewFilesLeavesThePageAsItWas)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write into any folder";
    ReplaceSite f(Page);
    ASSERT_EQ(chmod((f.dir.path() + "sub").c_str(), 0555), 0);
    f.dialog.replacement = "new.html";
    replaceClick(f.site, "old.html", f.dialog);
    chmod((f.dir.path() + "sub").c_str(), 0755);
    EXPECT_EQ(readFile(f.path), Page);
    f.expectWarningOnly();
}

TEST(Replace, APageThatBecameALinkOrNoFileIsLeftAlone)
{
    // A link (to a page outside, to a FIFO, to a device) or a FIFO, a socket
    // or a device where the page was: the warning, and each stays what it is.
    ReplaceSite f("old.html");
    const std::string outside = f.dir.write("elsewhere/real.html", "x old.html");
    const std::string fifo = f.dir.path() + "elsewhere/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::vector<std::function<void()>> makers = {
        [&] { ASSERT_EQ(symlink(outside.c_str(), f.path.c_str()), 0); },
        [&] { ASSERT_EQ(symlink(fifo.c_str(), f.path.c_str()), 0); },
        [&] { ASSERT_EQ(mkfifo(f.path.c_str(), 0644), 0); },
    };
    // A device of the test's own, never one the system uses.
    const std::string device = f.dir.path() + "elsewhere/null";
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        makers.push_back([&] { ASSERT_EQ(symlink(device.c_str(), f.path.c_str()), 0); });
        makers.push_back(
            [&] { ASSERT_EQ(mknod(f.path.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0); });
    }
    for (size_t i = 0; i < makers.size(); ++i) {
        ASSERT_EQ(unlink(f.path.c_str()), 0);
        makers[i]();
        struct stat before
        {
        };
        ASSERT_EQ(lstat(f.path.c_str(), &before), 0);
        f.host.messages.clear();
        f.dialog.replacement = "new.html";
        replaceClick(f.site, "old.html", f.dialog);
        f.expectWarningOnly();
        struct stat after
        {
        };
        ASSERT_EQ(lstat(f.path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << i;
        EXPECT_EQ(after.st_mode, before.st_mode) << i;
        EXPECT_EQ(readFile(outside), "x old.html") << i;
        EXPECT_EQ(f.folderEntries(), std::vector<std::string>{"page.html"}) << i;
    }
    struct stat st
    {
    };
    if (lstat(device.c_str(), &st) == 0) {
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device behind a link stays a device";
    }
}

TEST(Replace, APageReachedThroughALinkedFolderIsLeftAlone)
{
    // "sub" became a link to a folder elsewhere after the check: the page
    // shown as sub/page.html is no longer in the site.
    ReplaceSite f("old.html");
    const std::string elsewhere = f.dir.write("elsewhere/page.html", "old.html");
    ASSERT_EQ(rename((f.dir.path() + "sub").c_str(), (f.dir.path() + "moved").c_str()), 0);
    ASSERT_EQ(symlink((f.dir.path() + "elsewhere").c_str(), (f.dir.path() + "sub").c_str()), 0);
    f.dialog.replacement = "new.html";
    replaceClick(f.site, "old.html", f.dialog);
    f.expectWarningOnly();
    EXPECT_EQ(readFile(elsewhere), "old.html");
}

TEST(Replace, TemporaryFilesOfKilledReplacesGoLiveOnesStay)
{
    ReplaceSite f("old.html");
    const std::string killed = f.dir.write("sub/.orvane-Killed.part", "half");
    const std::string live = f.dir.write("sub/.orvane-Live00.part", "being written");
    const timespec old[2] = {{0, UTIME_OMIT}, {time(nullptr) - 60, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, killed.c_str(), old, 0), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, live.c_str(), old, 0), 0);
    const int lock = open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    f.dialog.replacement = "new.html";
    replaceClick(f.site, "old.html", f.dialog);
    close(lock);
    f.expectDone();
    EXPECT_EQ(readFile(f.path), "new.html");
    std::vector<std::string> left = f.folderEntries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".orvane-Live00.part", "page.html"}));
}

TEST(Replace, ReadFailuresEndTheCommandAndNothingIsWritten)
{
    ReplaceSite f(Page);
    const std::string binary("\x01\x02\x03\x04\x05\x06\x07\x08old.html", 16);
    {
        FILE *out = fopen(f.path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        fwrite(binary.data(), 1, binary.size(), out);
        fclose(out);
    }
    EXPECT_THROW(replaceClick(f.site, "old.html", f.dialog), ENotTextFileError);
    EXPECT_EQ(readFile(f.path), binary);
    EXPECT_TRUE(f.host.beeps.empty());
}

TEST(Replace, NothingHappensWithoutASelectedFile)
{
    ReplaceSite f(Page);
    for (TreeNode *node : {f.node("sub"), f.site.tree.Root(), static_cast<TreeNode *>(nullptr)}) {
        f.site.tree.Select(node);
        replaceClick(f.site, "old.html", f.dialog);
    }
    EXPECT_FALSE(f.dialog.shown);
    EXPECT_EQ(readFile(f.path), Page);
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(Replace, TheOwnersWriteBitDecidesForEveryUser)
{
    ReplaceSite f("old.html");
    ASSERT_EQ(chmod(f.path.c_str(), 0464), 0);
    f.dialog.replacement = "new.html";
    replaceClick(f.site, "old.html", f.dialog);
    f.expectWarningOnly();
    EXPECT_EQ(readFile(f.path), "old.html");
    EXPECT_EQ(f.mode(), 0464u);
}

} // namespace
} // namespace orvane
