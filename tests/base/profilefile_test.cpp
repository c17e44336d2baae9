#include "base/errors.h"
#include "base/profilefile.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <sys/resource.h>

namespace orvane {
namespace {

using test::readFile;
using test::TempDir;

struct ReadCase
{
    const char *name;
    std::string text;
    const char *section;
    const char *key;
    std::string expected;
};

TEST(ProfileFile, ReadingConventions)
{
    const std::string longValue(3000, 'x');
    const ReadCase cases[] = {
        {"plain", "[S]\r\nKey=value\r\n", "S", "Key", "value"},
        {"section name ignores case", "[option]\r\nKey=v\r\n", "OPTION", "Key", "v"},
        {"key name ignores case", "[S]\r\nignorecase=1\r\n", "S", "IgnoreCase", "1"},
        {"blanks around key and value", "[S]\r\n  Key \t=  a b \t\r\n", "S", "Key", "a b"},
        {"blanks inside brackets", "[ S ]\r\nKey=v\r\n", "S", "Key", "v"},
        {"double quotes", "[S]\r\nKey=\" a \"\r\n", "S", "Key", " a "},
        {"single quotes", "[S]\r\nKey='a'\r\n", "S", "Key", "a"},
        {"only one pair of quotes", "[S]\r\nKey=\"\"a\"\"\r\n", "S", "Key", "\"a\""},
        {"unmatched quotes stay", "[S]\r\nKey=\"a'\r\n", "S", "Key", "\"a'"},
        {"a lone quote stays", "[S]\r\nKey=\"\r\n", "S", "Key", "\""},
        {"value after the first equals sign", "[S]\r\nKey=a=b\r\n", "S", "Key", "a=b"},
        {"empty value", "[S]\r\nKey=\r\n", "S", "Key", ""},
        {"value cut to 2047 bytes", "[S]\r\nKey=" + longValue + "\r\n", "S", "Key",
         longValue.substr(0, 2047)},
        {"first of duplicate keys", "[S]\r\nKey=1\r\nKey=2\r\n", "S", "Key", "1"},
        {"first of duplicate sections", "[S]\r\nA=1\r\n[T]\r\n[S]\r\nA=2\r\nB=3\r\n", "S", "A",
         "1"},
        {"key only in a later duplicate section", "[S]\r\nA=1\r\n[S]\r\nB=3\r\n", "S", "B",
         "default"},
        {"garbage lines are skipped", "[S]\r\nnonsense\r\n;A=0\r\n=x\r\nA=1\r\n", "S", "A", "1"},
        {"comment line is no key", "[S]\r\n;A=0\r\n", "S", ";A", "default"},
        {"LF line ends", "[S]\nA=1\nB=2", "S", "B", "2"},
        {"key of another section", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n", "S", "B", "default"},
        {"key before any section", "A=1\r\n[S]\r\n", "S", "A", "default"},
        {"missing section", "[S]\r\nA=1\r\n", "T", "A", "default"},
        {"section name is not a prefix", "[Section]\r\nA=1\r\n", "Sect", "A", "default"},
        {"key name is not a prefix", "[S]\r\nAB=1\r\n", "S", "A", "default"},
    };
    TempDir dir;
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        const ProfileFile file(dir.write("t.ini", c.text));
        EXPECT_EQ(file.ReadString(c.section, c.key, "default"), c.expected);
        EXPECT_EQ(file.KeyExists(c.section, c.key), c.expected != "default");
    }
}

TEST(ProfileFile, ReadsIntegersAndBooleans)
{
    const struct
    {
        const char *value;
        long expected;
    } cases[] = {
        {"12", 12},
        {"  -7", -7},
        {"+3", 3},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X10", 16},
        {"-$10", -16},
        {"\"5\"", 5},
        {"", 99},
        {"abc", 99},
        {"12abc", 99},
        {"1.5", 99},
        {"$", 99},
        {"0x", 99},
        {"- 1", 99},
        {"0x-1", 99},
        {"$G", 99},
        {"99999999999999999999", 99},
        {"9223372036854775807", 9223372036854775807L},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        const ProfileFile file(dir.write("t.ini", std::string("[S]\r\nN=") + c.value + "\r\n"));
        EXPECT_EQ(file.ReadInteger("S", "N", 99), c.expected);
    }
    const ProfileFile file(dir.write("b.ini", "[S]\r\nTwo=2\r\nZero=0\r\nWord=yes\r\n"));
    EXPECT_TRUE(file.ReadBool("S", "Two", false));
    EXPECT_FALSE(file.ReadBool("S", "Zero", true));
    EXPECT_TRUE(file.ReadBool("S", "Word", true));
    EXPECT_FALSE(file.ReadBool("S", "Word", false));
    EXPECT_TRUE(file.ReadBool("S", "Missing", true));
    EXPECT_EQ(file.ReadInteger("S", "Missing", -1), -1);
}

TEST(ProfileFile, MissingFileReadsEmpty)
{
    TempDir dir;
    ProfileFile file(dir.path() + "none.ini");
    EXPECT_EQ(file.ReadString("S", "A", "d"), "d");
    EXPECT_EQ(file.Text(), "");
    file.WriteString("S", "A", "1");
    file.Save();
    EXPECT_EQ(readFile(dir.path() + "none.ini"), "[S]\r\nA=1\r\n");
}

TEST(ProfileFile, AByteOrderMarkIsSkippedAndKeptUntilCleared)
{
    TempDir dir;
    const std::string path =
        dir.write("bom.ini", "\xEF\xBB\xBF[OrvaneProject]\r\nHomeDir=/site/\r\n");
    ProfileFile file(path);
    EXPECT_EQ(file.ReadString("OrvaneProject", "HomeDir", ""), "/site/");
    file.WriteString("OrvaneProject", "ServerRoot", "");
    file.Save();
    EXPECT_EQ(readFile(path), "\xEF\xBB\xBF[OrvaneProject]\r\nHomeDir=/site/\r\nServerRoot=\r\n");
    file.Clear();
    file.WriteString("S", "A", "1");
    EXPECT_EQ(file.Text(), "[S]\r\nA=1\r\n");
    // Only at the very start is it a mark; elsewhere it is text.
    const ProfileFile later(dir.write("later.ini", "\r\n\xEF\xBB\xBF[S]\r\nA=1\r\n"));
    EXPECT_EQ(later.ReadString("S", "A", "none"), "none");
}

TEST(ProfileFile, WhatIsNoRegularFileReadsEmptyAtOnce)
{
    TempDir dir;
    const std::string fifo = dir.path() + "fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, std::string("/dev/zero"), dir.path()}) {
        const ProfileFile file(path);
        EXPECT_EQ(file.Text(), "") << path;
        EXPECT_EQ(file.ReadString("Option", "IgnoreCase", "d"), "d") << path;
    }
}

TEST(ProfileFile, WritePreservesOtherLines)
{
    TempDir dir;
    const std::string path = dir.write("t.ini", "; settings\n"
                                                "[Option]\n"
                                                "  ignorecase = 0 \n"
                                                "odd line\n"
                                                "Other=keep\n"
                                                "\n"
                                                "[WindowState]\n"
                                                "Left=5\n");
    ProfileFile file(path);
    file.WriteBool("OPTION", "IgnoreCase", true);
    file.WriteString("Option", "NewKey", "new");
    file.WriteInteger("WindowState", "Top", -1);
    file.WriteString("Fresh", "A", "b");
    file.Save();
    EXPECT_EQ(readFile(path), "; settings\r\n"
                              "[Option]\r\n"
                              "IgnoreCase=1\r\n"
                              "odd line\r\n"
                              "Other=keep\r\n"
                              "NewKey=new\r\n"
                              "\r\n"
                              "[WindowState]\r\n"
                              "Left=5\r\n"
                              "Top=-1\r\n"
                              "[Fresh]\r\n"
                              "A=b\r\n");
    const ProfileFile reread(path);
    EXPECT_EQ(reread.ReadString("Option", "NewKey", ""), "new");
    EXPECT_TRUE(reread.ReadBool("Option", "IgnoreCase", false));
    EXPECT_EQ(reread.ReadInteger("WindowState", "Top", 0), -1);
}

TEST(ProfileFile, WriteChangesOnlyTheFirstOfDuplicates)
{
    TempDir dir;
    ProfileFile file(dir.write("t.ini", "[S]\r\nA=1\r\nA=2\r\n[S]\r\nA=3\r\n"));
    file.WriteString("s", "a", "9");
    EXPECT_EQ(file.Text(), "[S]\r\na=9\r\nA=2\r\n[S]\r\nA=3\r\n");
    EXPECT_EQ(file.ReadString("S", "A", ""), "9");
}

TEST(ProfileFile, ManyKeysAreFoundWithoutCaseAsTheIndexGrows)
{
    // Keys read from a file and keys written later share one index, which
    // grows past its first size many times; the first of keys equal without
    // case keeps counting, and a new key goes before the trailing blank line.
    TempDir dir;
    std::string text = "[S]\r\n";
    for (int i = 0; i < 5000; ++i)
        text += "Key" + std::to_string(i) + " = v" + std::to_string(i) + "\r\n";
    text += "KEY17=later\r\n\r\n[T]\r\nKey17=other\r\n";
    ProfileFile file(dir.write("t.ini", text));
    for (int i = 0; i < 20000; ++i)
        file.WriteString("S", "new" + std::to_string(i), std::to_string(i));
    for (int i = 0; i < 5000; i += 7)
        EXPECT_EQ(file.ReadString("s", "KEY" + std::to_string(i), "-"), "v" + std::to_string(i));
    for (int i = 0; i < 20000; i += 13)
        EXPECT_EQ(file.ReadString("S", " NEW" + std::to_string(i) + " ", "-"), std::to_string(i));
    EXPECT_EQ(file.ReadString("S", "key17", "-"), "v17");
    EXPECT_EQ(file.ReadString("T", "KEY17", "-"), "other");
    EXPECT_FALSE(file.KeyExists("S", "Key5000"));
    file.WriteString("S", "KEY4999", "changed");
    EXPECT_EQ(file.ReadString("S", "key4999", "-"), "changed");
    const std::string saved = file.Text();
    EXPECT_NE(saved.find("new19999=19999\r\n\r\n[T]"), std::string::npos);
    EXPECT_NE(saved.find("\r\nKEY4999=changed\r\n"), std::string::npos);
}

TEST(ProfileFile, EraseSectionAndClear)
{
    TempDir dir;
    ProfileFile file(dir.write("t.ini", "top\r\n[A]\r\nX=1\r\n[B]\r\nY=2\r\n[a]\r\nZ=3\r\n"));
    file.EraseSection("A");
    EXPECT_EQ(file.Text(), "top\r\n[B]\r\nY=2\r\n");
    EXPECT_FALSE(file.KeyExists("A", "X"));
    EXPECT_EQ(file.ReadString("B", "Y", ""), "2");
    file.WriteString("A", "X", "4");
    EXPECT_EQ(file.ReadString("a", "x", ""), "4");
    file.Clear();
    EXPECT_EQ(file.Text(), "");
    EXPECT_FALSE(file.KeyExists("B", "Y"));
    file.WriteString("B", "Y", "5");
    EXPECT_EQ(file.Text(), "[B]\r\nY=5\r\n");
}

TEST(ProfileFile, FailedSaveThrowsAndKeepsOldFile)
{
    TempDir dir;
    // A folder that cannot exist, even for root: its parent is a regular file.
    const std::string blocker = dir.write("file", "x");
    ProfileFile unreachable(blocker + "/sub/t.ini");
    unreachable.WriteString("S", "A", "1");
    EXPECT_THROW(unreachable.Save(), EWriteError);

    const std::string old = "[S]\r\nA=old\r\n";
    const std::string path = dir.write("t.ini", old);
    ProfileFile file(path);
    file.WriteString("S", "A", std::string(4096, 'n'));
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(file.Save(), EWriteError);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(readFile(path), old);
}

} // namespace
} // namespace orvane
