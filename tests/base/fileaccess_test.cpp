// Reading what a program is told to read: paths longer than the system takes
// in one go, and names of things that are not files (FIFOs, devices, folders),
// which are refused at once instead of holding the program or filling memory.
#include "base/inputfile.h"
#include "base/longpath.h"

#include "support/deeptree.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

TEST(LongPath, OpensAndLooksAtPathsOfAnyLength)
{
    test::TempDir dir;
    const std::string name(200, 'n');
    const std::string deep = test::MakeDeepFolders(dir.path(), name, 50, [](int fd, int level) {
        test::WriteFileAt(fd, "f.txt", std::to_string(level));
    });
    ASSERT_GT(deep.size(), static_cast<size_t>(2 * PATH_MAX));
    ASSERT_EQ(open((deep + "f.txt").c_str(), O_RDONLY), -1) << "beyond the system's own calls";
    // Paths below the limit, at it and beyond it, each with and without "/".
    for (const size_t level : {1, 20, 21, 40, 50}) {
        std::string folder = dir.path();
        for (size_t i = 0; i < level; ++i)
            folder += name + "/";
        const int fd = OpenPath(folder + "f.txt", O_RDONLY);
        ASSERT_GE(fd, 0) << level;
        char text[8] = {};
        EXPECT_EQ(read(fd, text, sizeof text - 1),
                  static_cast<ssize_t>(std::to_string(level).size()));
        EXPECT_EQ(std::string(text), std::to_string(level));
        close(fd);
        const int folderFd = OpenPath(folder, O_RDONLY | O_DIRECTORY);
        EXPECT_GE(folderFd, 0) << level;
        close(folderFd);
        struct stat st
        {
        };
        EXPECT_EQ(StatPath(folder + "f.txt", st, true), 0) << level;
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(StatPath(folder + "none", st, true), -1);
        EXPECT_EQ(errno, ENOENT);
    }
}

TEST(InputFile, ReadsRegularFilesAndRefusesEverythingElseAtOnce)
{
    test::TempDir dir;
    const std::string regular = dir.write("settings.ini", "[Option]\r\n");
    const std::string fifo = dir.path() + "fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string zeroLink = dir.path() + "zero.ini";
    ASSERT_EQ(symlink("/dev/zero", zeroLink.c_str()), 0);
    const std::string fifoLink = dir.path() + "fifolink.ini";
    ASSERT_EQ(symlink("fifo.ini", fifoLink.c_str()), 0);
    const struct
    {
        std::string path;
        InputFileKind kind;
        InputRead read;
        std::string text;
    } rows[] = {
        {regular, InputFileKind::regular, InputRead::read, "[Option]\r\n"},
        {dir.path() + "none.ini", InputFileKind::missing, InputRead::missing, ""},
        {dir.path() + "none/x.ini", InputFileKind::missing, InputRead::missing, ""},
        {fifo, InputFileKind::other, InputRead::notRegular, ""},
        {fifoLink, InputFileKind::other, InputRead::notRegular, ""},
        {zeroLink, InputFileKind::other, InputRead::notRegular, ""},
        {"/dev/zero", InputFileKind::other, InputRead::notRegular, ""},
        {"/dev/tty", InputFileKind::other, InputRead::notRegular, ""},
        {dir.path(), InputFileKind::other, InputRead::notRegular, ""},
        {"/dev/null", InputFileKind::nullDevice, InputRead::read, ""},
    };
    for (const auto &row : rows) {
        if (row.path == "/dev/tty" && access(row.path.c_str(), F_OK) != 0)
            continue;
        EXPECT_EQ(InputFileKindOf(row.path), row.kind) << row.path;
        std::string text = "stale";
        EXPECT_EQ(ReadInputFile(row.path, text), row.read) << row.path;
        EXPECT_EQ(text, row.text) << row.path;
    }
    EXPECT_EQ(NotRegularFileMessage("/a/b"), "/a/b\r\nは通常のファイルではありません");
}

} // namespace
} // namespace orvane
