// Replacing a file as a whole must not change what the user set up around it:
// a settings or project file kept elsewhere and linked in stays linked, and a
// file written by root for another user still belongs to that user.
#include "base/atomicfile.h"
#include "base/profilefile.h"

#include "support/faultsupport.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
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

} // namespace
} // namespace orvane
