#include "commands/deletetree.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

bool exists(const std::string &path)
{
    struct stat st
    {
    };
    return lstat(path.c_str(), &st) == 0;
}

/// Every entry below root, relative, sorted; links not followed.
std::vector<std::string> listing(const std::string &root)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        out.push_back(fs::relative(it->path(), root).string());
    std::sort(out.begin(), out.end());
    return out;
}

/// Sets or clears the immutable flag of a file; false where the file system or
/// the user's rights do not allow it.
bool setImmutable(const std::string &path, bool on)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return ok;
}

/// Keeps an immutable file from outliving the test (the temporary folder
/// could not be removed otherwise).
struct ImmutableGuard
{
    std::string path;
    ~ImmutableGuard()
    {
        if (!path.empty())
            setImmutable(path, false);
    }
};

/// Deletes a folder of the temporary folder, taken as the home folder.
bool deleteTree(const TempDir &dir, const std::string &path, bool clearReadOnly)
{
    return DeleteFolderTree(dir.path(), path, clearReadOnly).deleted();
}

TEST(DeleteFolderTree, EmptyFoldersWithAndWithoutTrailingDelimiter)
{
    TempDir dir;
    const std::string a = dir.mkdir("a");
    const std::string b = dir.mkdir("b");
    EXPECT_TRUE(deleteTree(dir, a, true)); // ends in "/"
    EXPECT_TRUE(deleteTree(dir, b.substr(0, b.size() - 1), false));
    EXPECT_FALSE(exists(a));
    EXPECT_FALSE(exists(b));
}

TEST(DeleteFolderTree, MissingPathsAndFilesGiveFalseAndChangeNothing)
{
    TempDir dir;
    const std::string file = dir.write("file.txt", "x");
    EXPECT_FALSE(deleteTree(dir, dir.path() + "missing", true));
    EXPECT_FALSE(deleteTree(dir, dir.path() + "missing/deeper/", true));
    EXPECT_FALSE(deleteTree(dir, file, true));
    EXPECT_FALSE(deleteTree(dir, file + "/", true));
    EXPECT_FALSE(deleteTree(dir, "", true));
    EXPECT_TRUE(exists(file));
}

TEST(DeleteFolderTree, DeletesEverythingReadOnlyAndHiddenEntriesIncluded)
{
    TempDir dir;
    dir.write("site/a.html", "a");
    dir.write("site/.hidden", "h");
    dir.write("site/ro.html", "r");
    dir.write("site/sub/deeper/x.gif", "x");
    dir.write("site/rosub/inner.txt", "i");
    mkfifo((dir.path() + "site/sub/pipe").c_str(), 0600);
    ASSERT_EQ(chmod((dir.path() + "site/ro.html").c_str(), 0444), 0);
    ASSERT_EQ(chmod((dir.path() + "site/rosub/inner.txt").c_str(), 0400), 0);
    ASSERT_EQ(chmod((dir.path() + "site/rosub").c_str(), 0555), 0);
    ASSERT_EQ(chmod((dir.path() + "site").c_str(), 0555), 0);

    EXPECT_TRUE(deleteTree(dir, dir.path() + "site", true));
    EXPECT_FALSE(exists(dir.path() + "site"));
}

TEST(DeleteFolderTree, WithoutClearingReadOnlyOnlyTheChainToAReadOnlyEntryStays)
{
    TempDir dir;
    dir.write("site/keep/deep/ro.html", "r");
    dir.write("site/keep/deep/sibling.html", "s");
    dir.write("site/keep/other.txt", "o");
    dir.write("site/branch/b.html", "b");
    dir.write("site/top.html", "t");
    dir.write("site/rofolder/inside.txt", "i");
    ASSERT_EQ(chmod((dir.path() + "site/keep/deep/ro.html").c_str(), 0444), 0);
    ASSERT_EQ(chmod((dir.path() + "site/rofolder").c_str(), 0555), 0);

    EXPECT_FALSE(deleteTree(dir, dir.path() + "site/", false));
    std::vector<std::string> expected{"keep", "keep/deep", "keep/deep/ro.html"};
    // A read-only folder stays as well; whether its contents can go depends
    // on the user's rights (root may empty it), never on this function.
    std::vector<std::string> left = listing(dir.path() + "site");
    std::erase_if(left, [](const std::string &e) { return e == "rofolder/inside.txt"; });
    expected.insert(expected.end(), {"rofolder"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_EQ(test::readFile(dir.path() + "site/keep/deep/ro.html"), "r");
}

TEST(DeleteFolderTree, AnEntryThatCannotGoLeavesOnlyItsChainOfFolders)
{
    TempDir dir;
    dir.write("site/a/b/stuck.html", "s");
    dir.write("site/a/b/sibling.html", "x");
    dir.write("site/a/other.html", "o");
    dir.write("site/c/d.html", "d");
    ImmutableGuard guard;
    std::vector<std::string> expected;
    if (setImmutable(dir.path() + "site/a/b/stuck.html", true)) {
        guard.path = dir.path() + "site/a/b/stuck.html";
        expected = {"a", "a/b", "a/b/stuck.html"};
    } else if (geteuid() != 0) {
        // A folder its owner cannot even list cannot be emptied.
        ASSERT_EQ(chmod((dir.path() + "site/a/b").c_str(), 0300), 0);
        expected = {"a", "a/b", "a/b/sibling.html", "a/b/stuck.html"};
    } else {
        GTEST_SKIP() << "running as root on a file system without the immutable flag: nothing "
                        "can be made undeletable here";
    }

    EXPECT_FALSE(deleteTree(dir, dir.path() + "site", true));
    chmod((dir.path() + "site/a/b").c_str(), 0700);
    EXPECT_EQ(listing(dir.path() + "site"), expected);
}

TEST(DeleteFolderTree, AReadOnlyFolderThatStaysGetsItsPermissionsBack)
{
    TempDir dir;
    dir.write("site/ro/stuck/x.html", "x");
    dir.write("site/ro/gone.html", "g");
    ImmutableGuard guard;
    if (setImmutable(dir.path() + "site/ro/stuck/x.html", true)) {
        guard.path = dir.path() + "site/ro/stuck/x.html";
    } else if (geteuid() != 0) {
        ASSERT_EQ(chmod((dir.path() + "site/ro/stuck").c_str(), 0), 0);
    } else {
        GTEST_SKIP() << "running as root on a file system without the immutable flag: nothing "
                        "can be made undeletable here";
    }
    ASSERT_EQ(chmod((dir.path() + "site/ro").c_str(), 0555), 0);
    EXPECT_FALSE(deleteTree(dir, dir.path() + "site", true));
    chmod((dir.path() + "site/ro/stuck").c_str(), 0700);
    struct stat st
    {
    };
    ASSERT_EQ(stat((dir.path() + "site/ro").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0555u);
    EXPECT_FALSE(exists(dir.path() + "site/ro/gone.html"));
}

TEST(DeleteFolderTree, SymbolicLinksGoAsLinksAndTheirTargetsStay)
{
    TempDir dir;
    const std::string outsideFile = dir.write("outside/file.txt", "keep me");
    dir.write("outside/folder/inner.html", "inner");
    dir.write("site/page.html", "p");
    dir.mkdir("site/sub");
    const std::string site = dir.path() + "site/";
    ASSERT_EQ(symlink((dir.path() + "outside/folder").c_str(), (site + "linkdir").c_str()), 0);
    ASSERT_EQ(symlink(outsideFile.c_str(), (site + "sub/linkfile").c_str()), 0);
    ASSERT_EQ(symlink("../../outside", (site + "sub/relative").c_str()), 0);
    ASSERT_EQ(symlink("/nowhere/at/all", (site + "dangling").c_str()), 0);
    ASSERT_EQ(chmod((dir.path() + "outside/folder").c_str(), 0555), 0);

    EXPECT_TRUE(deleteTree(dir, site, true));
    EXPECT_FALSE(exists(site));
    EXPECT_EQ(test::readFile(outsideFile), "keep me");
    EXPECT_EQ(test::readFile(dir.path() + "outside/folder/inner.html"), "inner");
    struct stat st
    {
    };
    ASSERT_EQ(stat((dir.path() + "outside/folder").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0555u) << "a link's target is not made writable either";
}

TEST(DeleteFolderTree, APathThatIsALinkToAFolderLosesOnlyTheLink)
{
    TempDir dir;
    dir.write("real/inner.html", "inner");
    const std::string link = dir.path() + "link";
    ASSERT_EQ(symlink((dir.path() + "real").c_str(), link.c_str()), 0);
    const std::string fileLink = dir.path() + "filelink";
    ASSERT_EQ(symlink((dir.path() + "real/inner.html").c_str(), fileLink.c_str()), 0);

    EXPECT_FALSE(deleteTree(dir, fileLink, true)) << "a link to a file names no folder";
    EXPECT_TRUE(exists(fileLink));
    EXPECT_TRUE(deleteTree(dir, link + "/", true));
    EXPECT_FALSE(exists(link));
    EXPECT_EQ(test::readFile(dir.path() + "real/inner.html"), "inner");
}

TEST(DeleteFolderTree, DotDotSegmentsAreResolvedOnTheTextOfThePath)
{
    TempDir dir;
    dir.write("keep/k.html", "k");
    dir.write("gone/g.html", "g");
    EXPECT_TRUE(deleteTree(dir, dir.path() + "keep/../gone", true));
    EXPECT_FALSE(exists(dir.path() + "gone"));
    EXPECT_TRUE(exists(dir.path() + "keep/k.html"));

    dir.write("a/b/x.html", "x");
    EXPECT_TRUE(deleteTree(dir, dir.path() + "a/b/..", true));
    EXPECT_FALSE(exists(dir.path() + "a"));

    // site/link/.. is site itself, not the folder above the link's target.
    dir.write("outside/inner/i.html", "i");
    dir.write("outside/o.html", "o");
    dir.write("site/s.html", "s");
    ASSERT_EQ(symlink((dir.path() + "outside/inner").c_str(), (dir.path() + "site/link").c_str()),
              0);
    EXPECT_TRUE(deleteTree(dir, dir.path() + "site/link/..", true));
    EXPECT_FALSE(exists(dir.path() + "site"));
    EXPECT_EQ(listing(dir.path() + "outside"),
              (std::vector<std::string>{"inner", "inner/i.html", "o.html"}));
}

} // namespace
} // namespace orvane
