// Settings files that were damaged, cut short or edited by hand read as far as
// they can, the rest as defaults; a save that fails leaves the file exactly as
// it was and says so.
#include "settings/settings.h"

#include "support/faultsupport.h"
#include "support/recordinghost.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

namespace orvane {
namespace {

using test::readFile;
using test::RecordingHost;
using test::TempDir;

Settings loaded(const std::string &text)
{
    TempDir dir;
    Settings settings;
    settings.ExternalEditor = "left over";
    LoadSettings(settings, dir.write("orvane.ini", text));
    return settings;
}

Settings changed()
{
    Settings s;
    s.ExternalEditor = "/usr/bin/editor";
    s.IgnoreCase = true;
    s.CheckLocalFile = 1;
    s.ExtListHTML = ".HTM";
    return s;
}

bool isPrefixOf(const std::string &part, const std::string &whole)
{
    return whole.compare(0, part.size(), part) == 0;
}

TEST(FaultSettings, GarbageReadsAsTheDefaults)
{
    std::mt19937 random(3);
    std::vector<std::string> garbage = {"", std::string(4096, '\0'), "[Option\n=\n[[]]\n",
                                        "[Option]\nIgnoreCase\nCheckLocalFile=\n"};
    for (int i = 0; i < 50; ++i) {
        std::string bytes(1 + random() % 3000, '\0');
        for (char &c : bytes)
            c = static_cast<char>(random());
        garbage.push_back(bytes);
    }
    for (const std::string &text : garbage) {
        EXPECT_EQ(loaded(text), Settings());
        TempDir dir;
        const WindowPlacement placement = ReadWindowPlacement(dir.write("orvane.ini", text));
        EXPECT_EQ(placement.mainLeft, -1);
        EXPECT_TRUE(placement.projectVisible);
    }
}

TEST(FaultSettings, WhatIsNoRegularFileGivesTheDefaultsAtOnce)
{
    // A FIFO would hold the program until some writer came, /dev/zero would
    // fill its memory; neither is read, and a save does not replace them.
    TempDir dir;
    const std::string fifo = dir.path() + "orvane.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, std::string("/dev/zero")}) {
        Settings settings = changed();
        LoadSettings(settings, path);
        EXPECT_EQ(settings, Settings()) << path;
    }
    RecordingHost host;
    EXPECT_FALSE(SaveSettings(changed(), fifo, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, fifo + "\r\nに書き込みできませんでした");
    struct stat st
    {
    };
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(FaultSettings, AByteOrderMarkAtTheStartIsSkipped)
{
    EXPECT_TRUE(loaded("\xEF\xBB\xBF[Option]\r\nIgnoreCase=1\r\n").IgnoreCase);
    EXPECT_FALSE(loaded("\xEF\xBB\xBF[Option]\r\nIgnoreCase=0\r\n").IgnoreCase);
}

TEST(FaultSettings, AFileCutShortAtAnyByteReadsWhatItHolds)
{
    TempDir dir;
    const std::string path = dir.path() + "orvane.ini";
    RecordingHost host;
    ASSERT_TRUE(SaveSettings(changed(), path, host));
    const std::string full = readFile(path);
    const Settings defaults;
    for (size_t size = 0; size <= full.size(); ++size) {
        const Settings s = loaded(full.substr(0, size));
        SCOPED_TRACE(size);
        EXPECT_TRUE(s.ExternalEditor.empty() || isPrefixOf(s.ExternalEditor, "/usr/bin/editor"));
        EXPECT_TRUE(s.ExtListHTML == defaults.ExtListHTML || isPrefixOf(s.ExtListHTML, ".HTM"));
        EXPECT_TRUE(s.CheckLocalFile == 0 || s.CheckLocalFile == 1);
    }
    EXPECT_EQ(loaded(full), changed());
}

TEST(FaultSettings, LongValuesHugeNumbersAndDuplicateKeys)
{
    const std::string huge(1 << 20, 'e');
    const Settings s = loaded("[Option]\n"
                              "ExternalEditor=" +
                              huge +
                              "\n"
                              "IgnoreCase=99999999999999999999999\n"
                              "CheckLocalFile=-9999999999\n"
                              "isSpaceValid=0x\n"
                              "AnchorMakesFileBlue=0\n"
                              "anchormakesfileblue=1\n"
                              "[Option]\n"
                              "HideInfoBoxAfterCheck=1\n");
    EXPECT_EQ(s.ExternalEditor, std::string(2047, 'e'));
    EXPECT_FALSE(s.IgnoreCase) << "a number beyond range gives the default";
    EXPECT_EQ(s.CheckLocalFile, -1);
    EXPECT_FALSE(s.isSpaceValid) << "no digits after 0x gives the default";
    EXPECT_FALSE(s.AnchorMakesFileBlue) << "of two equal keys the first counts";
    EXPECT_FALSE(s.HideInfoBoxAfterCheck) << "a second section of that name is not read";
}

struct FailedSave
{
    TempDir dir;
    std::string path = dir.write("orvane.ini", "; mine\r\n[Option]\r\nIgnoreCase=0\r\n");
    std::string old = readFile(path);
    RecordingHost host;

    void expectReportedAndKept(const std::string &shownPath)
    {
        ASSERT_EQ(host.beeps.size(), 1u);
        EXPECT_EQ(host.beeps[0], Sound::Exclamation);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(host.messages[0].text, shownPath + "\r\nに書き込みできませんでした");
        EXPECT_EQ(readFile(path), old);
        EXPECT_EQ(test::FolderEntries(dir.path()), std::vector<std::string>{"orvane.ini"})
            << "no temporary file is left";
    }
};

TEST(FaultSettings, AWriteBeyondTheFileSizeLimitKeepsTheOldFile)
{
    FailedSave f;
    Settings s = changed();
    s.ExternalEditor = std::string(3000, 'x');
    {
        test::ScopedLimit limit(RLIMIT_FSIZE, 1024);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(SaveSettings(s, f.path, f.host));
    }
    f.expectReportedAndKept(f.path);
}

TEST(FaultSettings, ALineBreakInAnOptionKeepsTheOldFile)
{
    for (const char *editor : {"/opt/my\neditor", "/opt/e\r", "x\r\n[Option]\r\nIgnoreCase=1"}) {
        FailedSave f;
        Settings s = changed();
        s.ExternalEditor = editor;
        EXPECT_FALSE(SaveSettings(s, f.path, f.host));
        f.expectReportedAndKept(f.path);
    }
}

TEST(FaultSettings, APlaceThatTakesNoFileKeepsWhatIsThere)
{
    FailedSave f;
    // The settings path is a folder: renaming a file over it fails, even for root.
    const std::string folder = f.dir.mkdir("taken.ini");
    const std::string taken = folder.substr(0, folder.size() - 1);
    EXPECT_FALSE(SaveSettings(changed(), taken, f.host));
    struct stat st
    {
    };
    ASSERT_EQ(stat(taken.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(test::FolderEntries(f.dir.path()),
              (std::vector<std::string>{"orvane.ini", "taken.ini"}));
    EXPECT_FALSE(WriteWindowPlacement(WindowPlacement(), taken));
    ASSERT_EQ(f.host.messages.size(), 1u) << "the window placement fails silently";
    EXPECT_EQ(f.host.messages[0].text, taken + "\r\nに書き込みできませんでした");
}

TEST(FaultSettings, AReadOnlyFolderKeepsTheOldFile)
{
    if (test::RunningAsRoot())
        GTEST_SKIP() << "root may write into any folder";
    FailedSave f;
    ASSERT_EQ(chmod(f.dir.path().c_str(), 0555), 0);
    EXPECT_FALSE(SaveSettings(changed(), f.path, f.host));
    chmod(f.dir.path().c_str(), 0755);
    f.expectReportedAndKept(f.path);
}

} // namespace
} // namespace orvane
