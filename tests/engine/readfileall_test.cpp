#include "engine/readfileall.h"

#include "support/recordinghost.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::RecordingHost;
using test::TempDir;

std::string repeat(char c, size_t n)
{
    return std::string(n, c);
}

TEST(ReadFileAll, BinaryTestThresholds)
{
    const struct
    {
        const char *name;
        std::string text;
        bool binary;
    } cases[] = {
        {"empty", "", false},
        {"one control byte in 9", "\x01" + repeat('a', 8), true},
        {"one control byte in 10", "\x01" + repeat('a', 9), false},
        {"two control bytes in 19", "\x02\x08" + repeat('a', 17), true},
        {"two control bytes in 20", "\x10\x1F" + repeat('a', 18), false},
        {"20 control bytes in 200", repeat('\x05', 20) + repeat('a', 180), false},
        {"21 control bytes in 200", repeat('\x05', 21) + repeat('a', 179), true},
        {"21 control bytes in 209", repeat('\x05', 21) + repeat('a', 188), true},
        {"control bytes after the 200th", repeat('a', 200) + repeat('\x01', 500), false},
        {"tab, line ends, 0x0B-0x0F",
         repeat('\t', 50) + repeat('\n', 50) + repeat('\r', 50) + "\x0B\x0C\x0E\x0F" +
             repeat('\x0E', 46),
         false},
        {"DEL and high bytes", repeat('\x7F', 100) + repeat('\x82', 100), false},
        {"7-bit JIS escapes", "\x1B$B$3$s\x1B(B\r\n\x1B$B$K\x1B(B", true},
        {"one JIS escape in a long line", "\x1B$B" + repeat('a', 40), false},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LooksBinary(c.text), c.binary);
        const std::string path = dir.write("f.html", c.text);
        RecordingHost host;
        if (c.binary) {
            try {
                ReadFileAll(path, host);
                ADD_FAILURE() << "read as text";
            } catch (const ENotTextFileError &e) {
                EXPECT_STREQ(e.what(), "it is binary file");
            }
        } else {
            EXPECT_EQ(ReadFileAll(path, host), c.text);
        }
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(ReadFileAll, NulBytesBecomeBlanks)
{
    TempDir dir;
    RecordingHost host;
    EXPECT_EQ(ReadFileAll(dir.write("a", std::string("a\0b\0\0c", 6)), host), "a b  c");
    // Turned into blanks before the test, NUL bytes never count as binary.
    EXPECT_EQ(ReadFileAll(dir.write("b", std::string(300, '\0')), host), std::string(300, ' '));
    EXPECT_EQ(ReadFileAll(dir.write("c", std::string(9, '\0') + "\x01"), host),
              std::string(9, ' ') + "\x01");
}

TEST(ReadFileAll, ReusesTheCallersBuffer)
{
    TempDir dir;
    RecordingHost host;
    std::string buffer(5000, 'z');
    EXPECT_EQ(ReadFileAllInto(dir.write("a", "<a href=x>"), host, buffer), 10u);
    EXPECT_EQ(buffer, "<a href=x>");
    EXPECT_EQ(ReadFileAllInto(dir.write("b", ""), host, buffer), 0u);
    EXPECT_EQ(buffer, "");
    const std::string large(1 << 20, 'q');
    EXPECT_EQ(ReadFileAllInto(dir.write("c", large), host, buffer), large.size());
    EXPECT_EQ(buffer, large);
}

TEST(ReadFileAll, OpenFailureIsShownThenRaised)
{
    TempDir dir;
    for (const std::string &path : {dir.path() + "missing.html", dir.mkdir("folder.html")}) {
        SCOPED_TRACE(path);
        RecordingHost host;
        EXPECT_THROW(ReadFileAll(path, host), EOpenFailure);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(host.messages[0].text, "ファイルをオープンできません\r\n" + path);
    }
}

TEST(ReadFileAll, ASymbolicLinkThatLeadsNowhereIsNamedSoAsAWarning)
{
    TempDir dir;
    const std::string gone = dir.path() + "gone.html";
    const std::string loop = dir.path() + "loop.html";
    ASSERT_EQ(::symlink("nowhere.html", gone.c_str()), 0);
    ASSERT_EQ(::symlink("loop.html", loop.c_str()), 0);
    for (const std::string &path : {gone, loop}) {
        SCOPED_TRACE(path);
        RecordingHost host;
        EXPECT_THROW(ReadFileAll(path, host), EOpenFailure);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(host.messages[0].text, "シンボリックリンクのリンク先がありません\r\n" + path);
    }
}

TEST(ReadFileAll, OnlyRegularFilesAreOpened)
{
    // A FIFO would wait for a writer, /dev/zero would never end and a link to
    // a terminal could take it over: each is an open failure at once.
    TempDir dir;
    const std::string pipe = dir.path() + "pipe.html";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string zero = dir.path() + "zero.html";
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    for (const std::string &path : {pipe, zero, std::string("/dev/null"), dir.path()}) {
        RecordingHost host;
        EXPECT_THROW(ReadFileAll(path, host), EOpenFailure) << path;
        ASSERT_EQ(host.messages.size(), 1u) << path;
        EXPECT_EQ(host.messages[0].text, "ファイルをオープンできません\r\n" + path);
    }
}

TEST(ReadFileAll, ByNameInAnOpenFolderAsByPath)
{
    // Every entry gives the same text, or the same failure and message, read
    // by its name in the open folder as by its path.
    TempDir dir;
    dir.write("a.html", "<a href=x.html>");
    ASSERT_EQ(::symlink("a.html", (dir.path() + "link.html").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere.html", (dir.path() + "gone.html").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir.path() + "zero.html").c_str()), 0);
    ASSERT_EQ(mkfifo((dir.path() + "pipe.html").c_str(), 0600), 0);
    dir.mkdir("folder.html");
    const int folder = ::open(dir.path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    for (const std::string name :
         {"a.html", "link.html", "gone.html", "zero.html", "pipe.html", "folder.html", "no.html"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.path() + name;
        RecordingHost byPath;
        RecordingHost byName;
        std::string expected;
        std::string text;
        bool failed = false;
        try {
            expected = ReadFileAll(path, byPath);
        } catch (const EOpenFailure &) {
            failed = true;
        }
        if (!failed) {
            EXPECT_EQ(ReadFileAllAt(folder, name, path, byName, text), expected.size());
            EXPECT_EQ(text, expected);
        } else {
            EXPECT_THROW(ReadFileAllAt(folder, name, path, byName, text), EOpenFailure);
        }
        ASSERT_EQ(byName.messages.size(), byPath.messages.size());
        for (size_t i = 0; i < byPath.messages.size(); ++i) {
            EXPECT_EQ(byName.messages[i].kind, byPath.messages[i].kind);
            EXPECT_EQ(byName.messages[i].text, byPath.messages[i].text);
        }
    }
    // The name is looked up in the folder that was opened, wherever it is now.
    const std::string home = dir.path().substr(0, dir.path().size() - 1);
    const std::string moved = home + "-moved";
    ASSERT_EQ(::rename(home.c_str(), moved.c_str()), 0);
    std::string text;
    RecordingHost host;
    EXPECT_EQ(ReadFileAllAt(folder, "a.html", "a.html", host, text), 15u);
    ASSERT_EQ(::rename(moved.c_str(), home.c_str()), 0);
    ::close(folder);
}

TEST(ReadFileAll, ShortReadIsAReadFailure)
{
    // Files of this kind claim a size of a page and hold a few bytes, as a
    // file that shrinks while it is read does.
    const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0 || info.st_size != 4096 || access(path.c_str(), R_OK) != 0)
        GTEST_SKIP() << "no file whose size overstates its contents";
    RecordingHost host;
    EXPECT_THROW(ReadFileAll(path, host), EReadFailure);
    EXPECT_TRUE(host.messages.empty());
}

TEST(ReadFileAll, AFileThatChangesWhileItIsRead)
{
    // The size a file had when its entry was looked at is what is read; the
    // admission asked first is the moment to change the file behind it.
    TempDir dir;
    const int folder = ::open(dir.path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    for (const bool byName : {false, true}) {
        SCOPED_TRACE(byName ? "by name" : "by path");
        const std::string path = dir.write("a.html", "<a href=x.html>");
        std::vector<unsigned long long> asked;
        const auto changeTo = [&](std::string text) {
            return [&, text](unsigned long long size) {
                if (asked.empty())
                    dir.write("a.html", text);
                asked.push_back(size);
                return true;
            };
        };
        const auto read = [&](const std::function<bool(unsigned long long)> &admit) {
            RecordingHost host;
            std::string text = "old";
            if (byName)
                ReadFileAllAt(folder, "a.html", path, host, text, admit);
            else
                ReadFileAllInto(path, host, text, admit);
            EXPECT_TRUE(host.messages.empty());
            return text;
        };
        // Grown by one byte, by many, or by a whole megabyte: read to its new
        // end, the new size admitted in its turn.
        for (const std::string &grown :
             {std::string("<a href=x.html>!"), "<a href=x.html>" + std::string(100, '\0'),
              "<a href=x.html>" + std::string(1 << 20, 'q')}) {
            SCOPED_TRACE(grown.size());
            asked.clear();
            dir.write("a.html", "<a href=x.html>");
            std::string expected = grown;
            std::replace(expected.begin(), expected.end(), '\0', ' ');
            EXPECT_EQ(read(changeTo(grown)), expected);
            EXPECT_EQ(asked, (std::vector<unsigned long long>{15, grown.size()}));
        }
        // Declined at its new size: nothing is kept of it.
        asked.clear();
        dir.write("a.html", "<a href=x.html>");
        EXPECT_THROW(read([&](unsigned long long size) {
                         dir.write("a.html", std::string(40, 'g'));
                         asked.push_back(size);
                         return asked.size() == 1;
                     }),
                     EReadDeclined);
        EXPECT_EQ(asked, (std::vector<unsigned long long>{15, 40}));
        // Shrunk: it cannot be read whole.
        asked.clear();
        dir.write("a.html", "<a href=x.html>");
        EXPECT_THROW(read(changeTo("<a>")), EReadFailure);
        // Not changed: read to its end, its size asked once.
        asked.clear();
        EXPECT_EQ(read([&](unsigned long long size) {
                      asked.push_back(size);
                      return true;
                  }),
                  "<a>");
        EXPECT_EQ(asked, (std::vector<unsigned long long>{3}));
    }
    ::close(folder);
}

TEST(ReadFileAll, AFileWhoseSizeUnderstatesItsContentsIsCutToIt)
{
    // The files of /proc say they hold nothing and give text when read; they
    // are read as the size they give, as any file is.
    const std::string path = "/proc/self/status";
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0 || info.st_size != 0)
        GTEST_SKIP() << "no file whose size understates its contents";
    RecordingHost host;
    EXPECT_EQ(ReadFileAll(path, host), "");
    EXPECT_TRUE(host.messages.empty());
}

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_NO_ADDRESS_LIMIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_NO_ADDRESS_LIMIT 1
#endif
#endif

TEST(ReadFileAll, AllocationFailureIsShownThenRaised)
{
#ifdef ORVANE_NO_ADDRESS_LIMIT
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#else
    TempDir dir;
    // A sparse file of 64 GiB takes no disk space; the address-space limit
    // makes its buffer impossible to allocate.
    const std::string path = dir.path() + "huge.html";
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    const bool sized = ftruncate(fd, 64LL << 30) == 0;
    close(fd);
    if (!sized)
        GTEST_SKIP() << "no sparse files here";
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    rlimit limit = saved;
    limit.rlim_cur = 32ULL << 30;
    if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < limit.rlim_cur)
        limit.rlim_cur = saved.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
    RecordingHost host;
    EXPECT_THROW(ReadFileAll(path, host), EOutOfMemory);
    setrlimit(RLIMIT_AS, &saved);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(host.messages[0].text, "メモリーを確保できません");
#endif
}

} // namespace
} // namespace orvane
