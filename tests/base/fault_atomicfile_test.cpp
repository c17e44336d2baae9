// Replacing a file as a whole must not change what the user set up around it:
// a settings or project file kept elsewhere and linked in stays linked, and a
// file written by root for another user still belongs to that user.
#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/profilefile.h"

#include "support/faultsupport.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace orvane {
namespace {

TEST(FaultAtomicFile, ALinkStaysALinkAndItsTargetIsReplaced)
{
    test::TempDir dir;
    const std::string target = dir.write("dotfiles/orvane.ini", "[Option]\r\nIgnoreCase=0\r\n");
    const std::string link = dir.mkdir("config") + "orvane.ini";
    ASSERT_EQ(symlink("../dotfiles/orvane.ini", link.c_str()), 0);

    ProfileFile file(link);
    file.WriteBool("Option", "IgnoreCase", true);
    file.Save();
    struct stat st
    {
    };
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(test::readFile(target), "[Option]\r\nIgnoreCase=1\r\n");
    EXPECT_EQ(test::FolderEntries(dir.path() + "config"), std::vector<std::string>{"orvane.ini"});
    EXPECT_EQ(test::FolderEntries(dir.path() + "dotfiles"), std::vector<std::string>{"orvane.ini"});
}

TEST(FaultAtomicFile, TheOwnerOfAnotherUsersFileStays)
{
    if (!test::RunningAsRoot())
        GTEST_SKIP() << "only root can write a file another user owns";
    test::TempDir dir;
    const std::string path = dir.write("page.html", "old");
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    WriteFileAtomically(path, "new");
    struct stat st
    {
    };
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::readFile(path), "new");
}

struct stat statusOf(const std::string &path)
{
    struct stat st
    {
    };
    lstat(path.c_str(), &st);
    return st;
}

TEST(FaultAtomicFile, OnlyARegularFileIsReplaced)
{
    // A FIFO, a device (of the test's own) or a folder where a file is to be
    // written is left alone, links to them too.
    test::TempDir dir;
    std::vector<std::string> paths;
    paths.push_back(dir.path() + "fifo.ini");
    ASSERT_EQ(mkfifo(paths.back().c_str(), 0600), 0);
    paths.push_back(dir.mkdir("folder.ini"));
    paths.back().pop_back();
    paths.push_back(dir.path() + "link.ini");
    ASSERT_EQ(symlink("fifo.ini", paths.back().c_str()), 0);
    if (mknod((dir.path() + "null.ini").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        paths.push_back(dir.path() + "null.ini");
        paths.push_back(dir.path() + "nulllink.ini");
        ASSERT_EQ(symlink("null.ini", paths.back().c_str()), 0);
    }
    const std::vector<std::string> before = test::FolderEntries(dir.path());
    for (const std::string &path : paths) {
        const struct stat old = statusOf(path);
        EXPECT_THROW(WriteFileAtomically(path, "[Option]\r\n"), EWriteError) << path;
        const struct stat now = statusOf(path);
        EXPECT_EQ(now.st_ino, old.st_ino) << path;
        EXPECT_EQ(now.st_mode, old.st_mode) << path;
    }
    EXPECT_EQ(test::FolderEntries(dir.path()), before) << "no temporary file stays";
}

TEST(FaultAtomicFile, AReplaceWritesOnlyTheFileItExpects)
{
    test::TempDir dir;
    const std::string page = dir.write("page.html", "old");
    const struct stat seen = statusOf(page);
    const int folder = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);

    // Another file took the name meanwhile: it stays as it is.
    ASSERT_EQ(rename(page.c_str(), (dir.path() + "moved.html").c_str()), 0);
    dir.write("page.html", "someone else's");
    EXPECT_THROW(ReplaceFileAt(folder, "page.html", "new", seen, page), EWriteError);
    EXPECT_EQ(test::readFile(page), "someone else's");
    // A link to the very file is no longer the file.
    ASSERT_EQ(unlink(page.c_str()), 0);
    ASSERT_EQ(symlink("moved.html", page.c_str()), 0);
    EXPECT_THROW(ReplaceFileAt(folder, "page.html", "new", seen, page), EWriteError);
    EXPECT_EQ(test::readFile(dir.path() + "moved.html"), "old");
    EXPECT_TRUE(S_ISLNK(statusOf(page).st_mode));
    // The file itself, back under its name, is replaced, keeping its mode.
    ASSERT_EQ(unlink(page.c_str()), 0);
    ASSERT_EQ(rename((dir.path() + "moved.html").c_str(), page.c_str()), 0);
    ASSERT_EQ(chmod(page.c_str(), 0604), 0);
    ReplaceFileAt(folder, "page.html", "new", seen, page);
    EXPECT_EQ(test::readFile(page), "new");
    EXPECT_EQ(statusOf(page).st_mode & 07777, 0604u);
    EXPECT_EQ(test::FolderEntries(dir.path()), std::vector<std::string>{"page.html"});
    close(folder);
}

TEST(FaultAtomicFile, TemporaryFilesOfWritesThatEndedGoAndLiveOnesStay)
{
    test::TempDir dir;
    const std::string &d = dir.path();
    const auto backdate = [](const std::string &path) {
        const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
    };
    backdate(dir.write(".orvane-Abc123.part", "left by a killed write"));
    backdate(dir.write(".orvane-Live99.part", "being written"));
    dir.write(".orvane-Young1.part", "just made");
    backdate(dir.write(".orvane-short.part", "not one of ours"));
    backdate(dir.write("keep.html", "a page"));
    backdate(dir.mkdir(".orvane-Folder.part"));
    const std::string outside = dir.write("outside/target.txt", "outside");
    ASSERT_EQ(symlink(outside.c_str(), (d + ".orvane-Linked.part").c_str()), 0);
    // The live write holds its lock as long as it runs.
    const int live = open((d + ".orvane-Live99.part").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(live, LOCK_EX), 0);

    const int folder = open(d.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    RemoveAbandonedTemporaryFiles(folder);
    close(folder);
    close(live);
    EXPECT_EQ(test::FolderEntries(d),
              (std::vector<std::string>{".orvane-Folder.part", ".orvane-Linked.part",
                                        ".orvane-Live99.part", ".orvane-Young1.part",
                                        ".orvane-short.part", "keep.html", "outside"}));
    EXPECT_EQ(test::readFile(outside), "outside");

    const struct
    {
        const char *name;
        bool temporary;
    } names[] = {{".orvane-Abc123.part", true},   {".orvane-zzzzzz.part", true},
                 {".orvane-Abc12.part", false},   {".orvane-Abc1234.part", false},
                 {".orvane-Abc-12.part", false},  {"orvane-Abc123.part", false},
                 {".orvane-Abc123.part~", false}, {".orvane-XXXXXX", false}};
    for (const auto &n : names)
        EXPECT_EQ(IsTemporaryFileName(n.name), n.temporary) << n.name;
}

} // namespace
} // namespace orvane
