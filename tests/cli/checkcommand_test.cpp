#include "clirun.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane::test {
namespace {

/// A page with two invalid links on three lines, an anchor, an image, and
/// an orphan in a sub-folder.
void writeTinySite(const TempDir &dir)
{
    dir.write("index.html", "<a href=\"a.html\">A</a> <a href=\"gone.html\">x</a>\n"
                            "<img src=\"pic.gif\">\r\n"
                            "<a href=\"gone.html\">again</a> <a name=\"top\">\n");
    dir.write("a.html", "<a href=\"index.html#top\">back</a> <a href=\"#nowhere\">n</a>\n");
    dir.write("pic.gif", "GIF89a");
    dir.write("sub/lost.html", "<p>lost</p>\n");
}

TEST(CheckCommand, TextReport)
{
    TempDir dir;
    writeTinySite(dir);
    const CliResult result = runChecker({dir.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "無効リンクを含むファイルの数 2\n"
                          "無効リンクの総数 2\n"
                          "orphaned files:\n"
                          "sub/lost.html\n"
                          "invalid links:\n"
                          "a.html:1: #nowhere (missing anchor)\n"
                          "index.html:1: gone.html (missing file) (+1)\n");
    EXPECT_EQ(result.err, "");
}

TEST(CheckCommand, TextReportGivesEachInvalidLinkOnceWhereItFirstStands)
{
    TempDir dir;
    // Lines 1 to 3 are a comment whose link is no occurrence; "GONE.html" is
    // "gone.html" without case; "gone.html.bak" merely starts like it.
    dir.write("index.html", "<!-- old\n<a href=\"gone.html\">\n-->\n"
                            "<img src=\"zz.gif\"> <a href=\"gone.html\">\n"
                            "<a href=\"gone.html.bak\"> <a href=\"GONE.html\">\r\n"
                            "<a href=\"a.html#nowhere\"> <a href=\"file:///nowhere.html\">\r"
                            "<a href=\"gone.html\"> <a href=\"zz.gif\"> <a href=\"a.html\">\n");
    dir.write("a.html", "<a href=index.html>");
    const CliResult result = runChecker({dir.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "無効リンクを含むファイルの数 1\n"
                          "無効リンクの総数 5\n"
                          "orphaned files:\n"
                          "invalid links:\n"
                          "index.html:4: zz.gif (missing file) (+1)\n"
                          "index.html:4: gone.html (missing file) (+2)\n"
                          "index.html:5: gone.html.bak (missing file)\n"
                          "index.html:6: a.html#nowhere (missing anchor)\n"
                          "index.html:6: file:///nowhere.html (file URL)\n");
    EXPECT_EQ(result.err, "");
}

TEST(CheckCommand, ModernLinksOffGivesTheClassicResults)
{
    TempDir dir;
    dir.write("index.html", "<a href=\"os.html#dir-fd\">\n<a href=\"my%20page.html\">\n"
                            "<meta http-equiv=refresh content=\"0; URL='os.html#top'\">\n");
    dir.write("os.html", "<h2 id=\"dir-fd\">");
    dir.write("my page.html", "");
    const CliResult modern = runChecker({dir.path()});
    EXPECT_EQ(modern.status, 0) << modern.out;

    const CliResult classic = runChecker({"-o", "ModernLinks=0", dir.path()});
    EXPECT_EQ(classic.status, 1);
    EXPECT_EQ(classic.out, "無効リンクを含むファイルの数 1\n"
                           "無効リンクの総数 3\n"
                           "orphaned files:\n"
                           "my page.html\n"
                           "os.html\n"
                           "invalid links:\n"
                           "index.html:1: os.html#dir-fd (missing anchor)\n"
                           "index.html:2: my%20page.html (missing file)\n"
                           "index.html:3: 'os.html#top' (missing file)\n");
    const CliResult json = runChecker({"--json", "-o", "ModernLinks=0", dir.path()});
    EXPECT_NE(json.out.find("\"invalid\": [\"'os.html#top'\", \"my%20page.html\", "
                            "\"os.html#dir-fd\"]"),
              std::string::npos)
        << json.out;
}

TEST(CheckCommand, AQuotedRefreshTargetIsShownWithoutItsQuotesUnderModernLinks)
{
    TempDir dir;
    dir.write("index.html", "<meta http-equiv=refresh content=\"0; URL='gone.html'\">\n");
    const CliResult text = runChecker({dir.path()});
    EXPECT_NE(text.out.find("index.html:1: gone.html (missing file)\n"), std::string::npos)
        << text.out;
    const CliResult json = runChecker({"--json", dir.path()});
    EXPECT_NE(json.out.find("\"invalid\": [\"gone.html\"]"), std::string::npos) << json.out;
    const CliResult github = runChecker({"--format", "github", dir.path()});
    EXPECT_NE(github.out.find("無効リンク: gone.html (missing file)"), std::string::npos)
        << github.out;
}

TEST(CheckCommand, QuietLeavesOnlyErrorsOnStandardError)
{
    TempDir dir;
    dir.write("index.html", "<a href=\"gone.html\">");
    ASSERT_EQ(::symlink("nowhere.html", (dir.path() + "gone.html").c_str()), 0);
    const CliResult loud = runChecker({"-t", "nothere.html", dir.path()});
    EXPECT_NE(loud.err.find("シンボリックリンクのリンク先がありません " + dir.path() + "gone.html"),
              std::string::npos)
        << loud.err;
    EXPECT_EQ(loud.err.find("ファイルをオープンできません"), std::string::npos) << loud.err;
    EXPECT_NE(loud.err.find("top page not in the site"), std::string::npos) << loud.err;

    const CliResult quiet = runChecker({"-q", "-t", "nothere.html", dir.path()});
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, loud.out);

    // An error still shows.
    dir.write("locked.html", "<p>");
    ::chmod((dir.path() + "locked.html").c_str(), 0);
    if (::access((dir.path() + "locked.html").c_str(), R_OK) != 0) {
        const CliResult locked = runChecker({"-q", dir.path()});
        EXPECT_NE(locked.err.find("ファイルをオープンできません"), std::string::npos) << locked.err;
    }
}

TEST(CheckCommand, ALinkWhoseTextStandsNowhereIsReportedAtItsValue)
{
    TempDir dir;
    // The line break inside the quoted value is dropped from the link text,
    // so the text as stored stands nowhere in the page; its value begins on
    // line 2.
    dir.write("index.html", "<p>\n<a href=\"bro\r\nken.html\">\n");
    const CliResult result = runChecker({dir.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("invalid links:\nindex.html:2: broken.html (missing file)\n"),
              std::string::npos)
        << result.out;
}

TEST(CheckCommand, JsonReport)
{
    TempDir dir;
    writeTinySite(dir);
    const CliResult result = runChecker({"--json", dir.path()});
    EXPECT_EQ(result.status, 1);
    const std::string expected =
        "{\n"
        "  \"homeDir\": \"" +
        dir.path() +
        "\",\n"
        "  \"fileCount\": 4,\n"
        "  \"filesWithInvalidLinks\": 2,\n"
        "  \"invalidLinkTotal\": 2,\n"
        "  \"orphans\": [\n"
        "    \"sub/lost.html\"\n"
        "  ],\n"
        "  \"attentionFolders\": [\n"
        "    \"sub/\"\n"
        "  ],\n"
        "  \"files\": [\n"
        "    {\"path\": \"sub/lost.html\", \"kind\": \"html\", \"state\": \"unreached\", "
        "\"ignored\": false, \"blue\": false, \"valid\": [], \"invalid\": [], \"external\": [], "
        "\"anchors\": []},\n"
        "    {\"path\": \"a.html\", \"kind\": \"html\", \"state\": \"reached\", \"ignored\": "
        "false, "
        "\"blue\": true, \"valid\": [\"index.html#top\"], \"invalid\": [\"#nowhere\"], "
        "\"external\": [], \"anchors\": []},\n"
        "    {\"path\": \"index.html\", \"kind\": \"html\", \"state\": \"top\", \"ignored\": "
        "false, "
        "\"blue\": true, \"valid\": [\"a.html\", \"pic.gif\"], \"invalid\": [\"gone.html\"], "
        "\"external\": [], \"anchors\": [{\"name\": \"top\", \"referenced\": true}]},\n"
        "    {\"path\": \"pic.gif\", \"kind\": \"image\", \"state\": \"reached\", \"ignored\": "
        "false, "
        "\"blue\": true, \"valid\": [], \"invalid\": [], \"external\": [], \"anchors\": []}\n"
        "  ]\n"
        "}\n";
    EXPECT_EQ(result.out, expected);
}

TEST(CheckCommand, ExitStatusFollowsTheFindings)
{
    struct Case
    {
        const char *name;
        std::vector<std::pair<const char *, const char *>> files;
        int status;
    };
    const Case cases[] = {
        {"clean site", {{"index.html", "<a href=a.html>"}, {"a.html", "<a href=index.html>"}}, 0},
        {"empty folder", {}, 0},
        {"orphan only", {{"index.html", "<p>"}, {"b.html", "<p>"}}, 1},
        {"invalid link only", {{"index.html", "<a href=missing.html>"}}, 1},
        {"no default page: all orphaned", {{"start.html", "<p>"}}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        for (const auto &[name, text] : c.files)
            dir.write(name, text);
        const CliResult result = runChecker({"-q", dir.path()});
        EXPECT_EQ(result.status, c.status) << result.out << result.err;
        EXPECT_EQ(result.err, "");
    }
}

TEST(CheckCommand, FailuresExitWithTwoAndAMessage)
{
    TempDir dir;
    dir.write("site/index.html", "<p>");
    dir.write("nohome.ovp", "[OrvaneProject]\r\nServerRoot=\r\n");
    dir.write("gonehome.ovp", "[OrvaneProject]\r\nHomeDir=" + dir.path() + "deleted/\r\n");
    struct Case
    {
        const char *name;
        std::vector<std::string> args;
        const char *message;
    };
    const Case cases[] = {
        {"missing folder", {dir.path() + "nothere"}, "ディレクトリが存在しません"},
        {"missing project", {dir.path() + "nothere.ovp"}, "が見つかりません"},
        {"project without home folder", {dir.path() + "nohome.ovp"}, "HomeDir"},
        {"project whose home folder is gone",
         {dir.path() + "gonehome.ovp"},
         "ディレクトリが存在しません"},
        {"server root missing", {"-r", dir.path() + "www", dir.path() + "site"}, "server root"},
        {"settings file missing",
         {"-s", dir.path() + "none.ini", dir.path() + "site"},
         "settings file"},
        {"settings file a FIFO",
         {"-s", dir.path() + "fifo.ini", dir.path() + "site"},
         "the settings file is not a regular file"},
        {"settings file a device that never ends",
         {"-s", "/dev/zero", dir.path() + "site"},
         "the settings file is not a regular file"},
        {"project file a FIFO",
         {dir.path() + "fifo.ovp"},
         "the project file is not a regular file"},
    };
    ASSERT_EQ(::mkfifo((dir.path() + "fifo.ini").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir.path() + "fifo.ovp").c_str(), 0600), 0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = runCheckerRaw(c.args.front() == "-s" ? c.args : [&] {
            std::vector<std::string> args = {"-s", "/dev/null"};
            args.insert(args.end(), c.args.begin(), c.args.end());
            return args;
        }());
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("orvane-check: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

/// The status of the checker run on a folder that can be entered but not
/// listed. The superuser reads every folder, so then the run happens in a
/// child process that has given up its rights.
int statusOnUnlistableFolder(const TempDir &dir, std::string &err)
{
    const std::string site = dir.mkdir("site");
    dir.write("site/index.html", "<p>");
    ::chmod(dir.path().c_str(), 0711);
    ::chmod(site.c_str(), 0311);
    if (::geteuid() != 0) {
        const CliResult result = runChecker({site});
        err = result.err;
        return result.status;
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        const CliResult result = runChecker({site});
        const ssize_t written = ::write(pipeFds[1], result.err.data(), result.err.size());
        ::_exit(written < 0 ? 101 : result.status);
    }
    ::close(pipeFds[1]);
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        err.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CheckCommand, UnreadableFolderExitsWithTwo)
{
    TempDir dir;
    std::string err;
    EXPECT_EQ(statusOnUnlistableFolder(dir, err), 2);
    EXPECT_NE(err.find("the folder cannot be read"), std::string::npos) << err;
}

TEST(CheckCommand, ProjectFileWithCommandLineItems)
{
    TempDir dir;
    const std::string site = dir.mkdir("site");
    dir.write("site/index.html", "<a href=a.html>");
    dir.write("site/a.html", "<p>");
    dir.write("site/old.bak", "");
    dir.write("site/notes.txt", "");
    dir.write("site/drafts/x.html", "<p>");
    std::string upperSite = site;
    for (char &c : upperSite)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    // Any existing file is read as a project, whatever its name.
    const std::string project =
        dir.write("site.project", "[OrvaneProject]\r\nHomeDir=" + site +
                                      "\r\nServerRoot=\r\nTopFile0=" + upperSite +
                                      "INDEX.HTML\r\n"
                                      "WildCards0=*.bak\r\n");
    const CliResult result =
        runChecker({"--json", project, "-x", "notes.txt", "-w", "drafts/", "-t", "a.html"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    const std::string &out = result.out;
    EXPECT_NE(out.find("\"fileCount\": 3,"), std::string::npos) << out;
    EXPECT_NE(out.find("\"orphans\": [],"), std::string::npos) << out;
    EXPECT_NE(out.find("{\"path\": \"index.html\", \"kind\": \"html\", \"state\": \"top\""),
              std::string::npos);
    EXPECT_NE(out.find("{\"path\": \"a.html\", \"kind\": \"html\", \"state\": \"top\""),
              std::string::npos);
    EXPECT_NE(out.find("{\"path\": \"notes.txt\", \"kind\": \"other\", \"state\": \"reached\", "
                       "\"ignored\": true"),
              std::string::npos);
    EXPECT_EQ(out.find("old.bak"), std::string::npos);
    EXPECT_EQ(out.find("drafts"), std::string::npos);
}

TEST(CheckCommand, AProjectFileBeginningWithAByteOrderMarkIsRead)
{
    TempDir dir;
    const std::string site = dir.mkdir("site");
    dir.write("site/index.html", "<a href=a.html>");
    dir.write("site/a.html", "<p>");
    const std::string project =
        dir.write("bom.ovp", "\xEF\xBB\xBF[OrvaneProject]\r\nHomeDir=" + site + "\r\n");
    const CliResult result = runChecker({project, "-t", "index.html"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.err, "");
}

TEST(CheckCommand, RelativePaths)
{
    TempDir dir;
    dir.write("site/index.html", "<a href=\"/img/x.gif\"><a href=\"sub/\">");
    dir.write("site/sub/index.html", "<p>");
    dir.write("site/tmp/junk.html", "<p>");
    dir.write("www/img/x.gif", "");
    CurrentFolder here(dir.path());
    // The server root is taken from the current folder, the top page and the
    // folder pattern from the home folder.
    const CliResult result = runChecker(
        {"--json", "site/../site", "-r", "www", "-t", "./sub/../index.html", "-w", "tmp/"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("\"homeDir\": \"" + dir.path() + "site/\""), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\"valid\": [\"/img/x.gif\", \"sub/\"]"), std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("junk"), std::string::npos);
}

TEST(CheckCommand, TopPageOutsideTheSiteIsReported)
{
    TempDir dir;
    dir.write("index.html", "<p>");
    const CliResult result = runChecker({"-t", "nothere.html", dir.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("top page not in the site: nothere.html"), std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("orphaned files:\nindex.html\n"), std::string::npos) << result.out;
}

TEST(CheckCommand, OptionOverridesReachTheCheck)
{
    TempDir dir;
    dir.write("home.htm", "<a href=\"Page.HTML\">");
    dir.write("page.html", "<p>");
    const CliResult strict = runChecker({"-o", "DefaultFileName=home.htm", dir.path()});
    EXPECT_EQ(strict.status, 1);
    EXPECT_NE(strict.out.find("home.htm:1: Page.HTML"), std::string::npos) << strict.out;

    const CliResult relaxed =
        runChecker({"-o", "DefaultFileName=home.htm", "-o", "IgnoreCase=1", dir.path()});
    EXPECT_EQ(relaxed.status, 0) << relaxed.out;

    // The settings file is read first, the overrides change it.
    TempDir other;
    const std::string ini = other.write("o.ini", "[Option]\r\nIgnoreCase=1\r\n");
    EXPECT_EQ(runCheckerRaw({"-s", ini, "-o", "DefaultFileName=home.htm", dir.path()}).status, 0);
    EXPECT_EQ(runCheckerRaw(
                  {"-s", ini, "-o", "DefaultFileName=home.htm", "-o", "ignorecase=0", dir.path()})
                  .status,
              1);
}

TEST(CheckCommand, NamesThatAreNotUtf8AreDecodedAndEscaped)
{
    TempDir dir;
    // テスト.html in Shift-JIS, a link to 日.html (missing) in Shift-JIS, and a
    // name with a quote and a control character.
    dir.write("index.html", "<a href=\"\x83\x65\x83\x58\x83\x67.html\">\n"
                            "<a href=\"\x93\xfa.html\">\n");
    dir.write("\x83\x65\x83\x58\x83\x67.html", "<p>");
    dir.write("q\"t\x01.png", "");
    const CliResult json = runChecker({"--json", dir.path()});
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\"orphans\": [\n    \"q\\\"t\\u0001.png\"\n  ]"), std::string::npos)
        << json.out;
    EXPECT_NE(
        json.out.find("{\"path\": \"テスト.html\", \"kind\": \"html\", \"state\": \"reached\""),
        std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"valid\": [\"テスト.html\"], \"invalid\": [\"日.html\"]"),
              std::string::npos)
        << json.out;

    const CliResult text = runChecker({dir.path()});
    EXPECT_NE(text.out.find("orphaned files:\nq\"t\\x01.png\ninvalid links:\nindex.html:2: 日.html "
                            "(missing file)\n"),
              std::string::npos)
        << text.out;
}

} // namespace
} // namespace orvane::test
