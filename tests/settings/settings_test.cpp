#include "settings/settings.h"

#include "support/recordinghost.h"
#include "support/tempdir.h"

#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <optional>

namespace orvane {
namespace {

using test::readFile;
using test::RecordingHost;
using test::TempDir;

Settings changedSettings()
{
    Settings s;
    s.ExternalEditor = "/usr/bin/editor";
    s.ExternalViewer = "/usr/bin/viewer";
    s.IgnoreCase = true;
    s.DefaultFileName = "default.htm";
    s.isSpaceValid = true;
    s.CommandLineOption = "-f %F";
    s.TagJumpCommandLineOption = "+%N %F";
    s.AnchorMakesFileBlue = false;
    s.CheckLocalFile = -1;
    s.IgnoreHTMLInfo = true;
    s.IgnoreJavaScript = false;
    s.HideInfoBoxAfterCheck = true;
    s.ExtListHTML = ".HTM";
    s.ExtListImg = ".PNG";
    s.ModernLinks = false;
    s.Language = 2;
    return s;
}

TEST(Settings, MissingFileGivesDefaults)
{
    TempDir dir;
    Settings settings = changedSettings();
    LoadSettings(settings, dir.path() + "none.ini");
    EXPECT_EQ(settings, Settings());
    EXPECT_EQ(settings.DefaultFileName, "index.html");
    EXPECT_TRUE(settings.AnchorMakesFileBlue);
    EXPECT_TRUE(settings.IgnoreJavaScript);
    EXPECT_EQ(settings.ExtListImg, ".JPG.JPEG.GIF.PNG.XPM.XBM");
    EXPECT_TRUE(settings.ModernLinks);
}

TEST(Settings, SavesAllKeysInOrderAndReadsThemBack)
{
    TempDir dir;
    const std::string path = dir.path() + "orvane.ini";
    RecordingHost host;
    ASSERT_TRUE(SaveSettings(changedSettings(), path, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(readFile(path), "[Option]\r\n"
                              "ExternalEditor=/usr/bin/editor\r\n"
                              "ExternalViewer=/usr/bin/viewer\r\n"
                              "IgnoreCase=1\r\n"
                              "DefaultFileName=default.htm\r\n"
                              "isSpaceValid=1\r\n"
                              "CommandLineOption=-f %F\r\n"
                              "TagJumpCommandLineOption=+%N %F\r\n"
                              "AnchorMakesFileBlue=0\r\n"
                              "CheckLocalFile=-1\r\n"
                              "IgnoreHTMLInfo=1\r\n"
                              "IgnoreJavaScript=0\r\n"
                              "HideInfoBoxAfterCheck=1\r\n"
                              "ExtListHTML=.HTM\r\n"
                              "ExtListImg=.PNG\r\n"
                              "ModernLinks=0\r\n"
                              "Language=2\r\n");
    Settings loaded;
    LoadSettings(loaded, path);
    EXPECT_EQ(loaded, changedSettings());
}

TEST(Settings, ReadsHandEditedValues)
{
    TempDir dir;
    const std::string path = dir.write("orvane.ini", "[option]\n"
                                                     "ignorecase=2\n"
                                                     "isSpaceValid=yes\n"
                                                     "AnchorMakesFileBlue=\n"
                                                     "IgnoreJavaScript=0x0\n"
                                                     "HideInfoBoxAfterCheck=$1\n"
                                                     "DefaultFileName= \"top.html\" \n"
                                                     "ExtListHTML=.htm.php\n");
    Settings settings;
    LoadSettings(settings, path);
    EXPECT_TRUE(settings.IgnoreCase);
    EXPECT_FALSE(settings.isSpaceValid);
    EXPECT_TRUE(settings.AnchorMakesFileBlue);
    EXPECT_FALSE(settings.IgnoreJavaScript);
    EXPECT_TRUE(settings.HideInfoBoxAfterCheck);
    EXPECT_EQ(settings.DefaultFileName, "top.html");
    EXPECT_EQ(settings.ExtListHTML, ".htm.php");
    EXPECT_TRUE(settings.ModernLinks) << "a file from before the option holds no key for it";
    EXPECT_EQ(ClassifyExtension(settings, ".PHP"), FileKind::html);
}

TEST(Settings, CheckLocalFileIsClampedToMinusOneToOne)
{
    const struct
    {
        const char *stored;
        int expected;
    } cases[] = {{"0", 0},   {"1", 1}, {"-1", -1},         {"5", 1}, {"-3", -1},
                 {"abc", 0}, {"", 0},  {"99999999999", 1}, {"$2", 1}};
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        Settings settings;
        LoadSettings(settings, dir.write("o.ini", std::string("[Option]\nCheckLocalFile=") +
                                                      c.stored + "\n"));
        EXPECT_EQ(settings.CheckLocalFile, c.expected);
    }
}

TEST(Settings, SaveKeepsEveryOtherLine)
{
    TempDir dir;
    const std::string path = dir.write("orvane.ini", "; hand-written\r\n"
                                                     "[WindowState]\r\n"
                                                     "Left=10\r\n"
                                                     "\r\n"
                                                     "[Option]\r\n"
                                                     "Unknown=keep me\r\n"
                                                     "IgnoreCase=1\r\n");
    RecordingHost host;
    ASSERT_TRUE(SaveSettings(Settings(), path, host));
    const std::string text = readFile(path);
    EXPECT_TRUE(text.starts_with("; hand-written\r\n[WindowState]\r\nLeft=10\r\n\r\n"
                                 "[Option]\r\nUnknown=keep me\r\nIgnoreCase=0\r\n"))
        << text;
    EXPECT_EQ(ReadWindowPlacement(path).mainLeft, 10);
}

TEST(Settings, SaveCreatesMissingFolders)
{
    TempDir dir;
    const std::string path = dir.path() + "config/orvane/orvane.ini";
    RecordingHost host;
    EXPECT_TRUE(SaveSettings(changedSettings(), path, host));
    Settings loaded;
    LoadSettings(loaded, path);
    EXPECT_EQ(loaded, changedSettings());

    const std::string placementPath = dir.path() + "other/orvane.ini";
    EXPECT_TRUE(WriteWindowPlacement(WindowPlacement{1, 2, 3, 4, false}, placementPath));
    EXPECT_EQ(ReadWindowPlacement(placementPath).projectTop, 4);
}

TEST(Settings, FailedSaveBeepsAndReports)
{
    TempDir dir;
    // No folder can be made below a regular file, not even by root.
    const std::string path = dir.write("blocker", "x") + "/orvane.ini";
    RecordingHost host;
    EXPECT_FALSE(SaveSettings(changedSettings(), path, host));
    ASSERT_EQ(host.beeps.size(), 1u);
    EXPECT_EQ(host.beeps[0], Sound::Exclamation);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(host.messages[0].text, path + "\r\nに書き込みできませんでした");

    EXPECT_FALSE(WriteWindowPlacement(WindowPlacement(), path));
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST(Settings, ClassifyExtensionMatchesWholeEntries)
{
    const Settings defaults;
    Settings lowerCase;
    lowerCase.ExtListHTML = ".htm.html";
    lowerCase.ExtListImg = ".gif";
    Settings noHtml;
    noHtml.ExtListHTML = "";
    const struct
    {
        const Settings *settings;
        const char *ext;
        FileKind expected;
    } cases[] = {
        {&defaults, ".HTM", FileKind::html},   {&defaults, ".HTML", FileKind::html},
        {&defaults, ".SHTML", FileKind::html}, {&defaults, ".JPEG", FileKind::image},
        {&defaults, ".JPG", FileKind::image},  {&defaults, ".XBM", FileKind::image},
        {&defaults, ".TXT", FileKind::other},  {&defaults, ".HT", FileKind::other},
        {&defaults, ".JP", FileKind::other},   {&defaults, ".", FileKind::other},
        {&defaults, "", FileKind::html},       {&noHtml, "", FileKind::html},
        {&noHtml, ".HTM", FileKind::other},    {&lowerCase, ".HTML", FileKind::html},
        {&lowerCase, ".GIF", FileKind::image}, {&lowerCase, ".SHTML", FileKind::other},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("ext \"") + c.ext + "\"");
        EXPECT_EQ(ClassifyExtension(*c.settings, c.ext), c.expected);
    }
}

TEST(WindowPlacement, ReadsDefaultsAndRoundTrips)
{
    TempDir dir;
    const WindowPlacement missing = ReadWindowPlacement(dir.path() + "none.ini");
    EXPECT_EQ(missing.mainLeft, -1);
    EXPECT_EQ(missing.mainTop, -1);
    EXPECT_EQ(missing.projectLeft, -1);
    EXPECT_EQ(missing.projectTop, -1);
    EXPECT_TRUE(missing.projectVisible);

    const std::string path = dir.write("orvane.ini", "[Option]\r\nIgnoreCase=1\r\n");
    ASSERT_TRUE(WriteWindowPlacement(WindowPlacement{100, 50, 700, 60, false}, path));
    EXPECT_EQ(readFile(path), "[Option]\r\nIgnoreCase=1\r\n"
                              "[WindowState]\r\nLeft=100\r\nTop=50\r\n"
                              "[ProjectWindowState]\r\nLeft=700\r\nTop=60\r\nVisible=0\r\n");
    const WindowPlacement read = ReadWindowPlacement(path);
    EXPECT_EQ(read.mainLeft, 100);
    EXPECT_EQ(read.mainTop, 50);
    EXPECT_EQ(read.projectLeft, 700);
    EXPECT_EQ(read.projectTop, 60);
    EXPECT_FALSE(read.projectVisible);

    const std::string odd = dir.write("odd.ini", "[windowstate]\r\nleft=x\r\ntop=99999999999\r\n"
                                                 "[ProjectWindowState]\r\nVisible=junk\r\n");
    const WindowPlacement defaults = ReadWindowPlacement(odd);
    EXPECT_EQ(defaults.mainLeft, -1);
    EXPECT_EQ(defaults.mainTop, -1);
    EXPECT_TRUE(defaults.projectVisible);
}

TEST(WindowPlacement, AppliesOnlyStrictlyInsideTheScreen)
{
    // Window 400 x 300 on a 1920 x 1080 screen: left below 1520, top below 780.
    const struct
    {
        int left, top;
        bool expected;
    } cases[] = {
        {100, 100, true},      {1, 1, true},          {0, 100, false},    {100, 0, false},
        {-1, -1, false},       {1519, 779, true},     {1520, 100, false}, {100, 780, false},
        {INT_MAX, 100, false}, {100, INT_MIN, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        EXPECT_EQ(PlacementApplies(c.left, c.top, 400, 300, 1920, 1080), c.expected);
    }
}

// Sets an environment variable for the life of the object.
using test::ScopedEnv;

TEST(Settings, FilePathPrefersTheProgramFolder)
{
    TempDir dir;
    EXPECT_EQ(SettingsFilePath(dir.path() + "orvane"), dir.path() + "orvane.ini");

    // A program folder that does not exist can be neither read nor written.
    const std::string gone = dir.path() + "gone/orvane";
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/config");
        EXPECT_EQ(SettingsFilePath(gone), "/xdg/config/orvane/orvane.ini");
    }
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");
        const ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(SettingsFilePath(gone), "/home/someone/.config/orvane/orvane.ini");
    }
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        const ScopedEnv home("HOME", "/home/someone/");
        EXPECT_EQ(SettingsFilePath(gone), "/home/someone/.config/orvane/orvane.ini");
    }
    EXPECT_TRUE(SettingsFilePath().ends_with("orvane.ini"));

    // An installed program keeps no settings beside it, even for root.
    const ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/config");
    for (const char *installed : {"/usr/bin/orvane", "/usr/local/bin/orvane", "/bin/orvane"})
        EXPECT_EQ(SettingsFilePath(installed), "/xdg/config/orvane/orvane.ini") << installed;
}

} // namespace
} // namespace orvane
