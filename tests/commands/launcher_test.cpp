#include "commands/launcher.h"

#include "engine/checkrun.h"
#include "support/fakedesktop.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace orvane {
namespace {

using test::SiteFixture;
using test::TempDir;
using Words = std::vector<std::string>;

struct RecordingLauncher : Launcher
{
    struct Call
    {
        std::string program;
        Words args;
    };
    bool start(const std::string &program, const Words &args) override
    {
        calls.push_back({program, args});
        return result;
    }
    std::vector<Call> calls;
    bool result = true;
};

TEST(SplitCommandLine, SplitsAsAShellWithoutExpanding)
{
    struct Row
    {
        const char *name;
        std::string input;
        Words words;
    };
    const Row rows[] = {
        {"empty", "", {}},
        {"blanks only", " \t\n ", {}},
        {"blanks separate", "  -a\tb\nc  ", {"-a", "b", "c"}},
        {"single quotes keep everything", "'a b' '\\\"$x'", {"a b", "\\\"$x"}},
        {"double quotes",
         "\"a b\" \"q\\\"q\" \"\\x\" \"\\\\\" \"\\$\"",
         {"a b", "q\"q", "\\x", "\\", "$"}},
        {"backslash escapes a blank", "my\\ file.html x", {"my file.html", "x"}},
        {"backslash escapes a quote", "\\'a \\\"b", {"'a", "\"b"}},
        {"line continuation", "ab\\\ncd \\\n", {"abcd"}},
        {"empty quoted words", "'' \"\" a''b", {"", "", "ab"}},
        {"quotes join pieces", "--file='/a b'/c\"d e\"", {"--file=/a b/cd e"}},
        {"no expansion", "$HOME ~ * `x` %F", {"$HOME", "~", "*", "`x`", "%F"}},
        {"unterminated quotes run to the end", "a 'b c", {"a", "b c"}},
        {"unterminated double quote", "\"b c", {"b c"}},
        {"trailing backslash stays", "a\\", {"a\\"}},
        {"utf-8 bytes pass", "\xe3\x83\x9a\xe3\x83\xbc\xe3\x82\xb8.html", {"ページ.html"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(SplitCommandLine(row.input), row.words) << row.name;
}

TEST(Launcher, EditorAndTagJumpArgumentsFromTemplates)
{
    EXPECT_EQ(TagJumpArguments("/j%N %F", "12", "/site/a.html"), (Words{"/j12", "/site/a.html"}));
    EXPECT_EQ(TagJumpArguments("+%N %F", "3", "/my site/a.html"), (Words{"+3", "/my site/a.html"}))
        << "the path is one word without quotes around it";
    EXPECT_EQ(TagJumpArguments("--line=%N \"%F\"", "3", "/my site/%N.html"),
              (Words{"--line=3", "/my site/%N.html"}))
        << "%N is replaced first, so one inside the path stays";
    EXPECT_EQ(EditorArguments("%F %F", "/s/a.html"), (Words{"/s/a.html", "/s/a.html"}));
    EXPECT_EQ(EditorArguments("-l %N '%F'", "/s/a b.html"), (Words{"-l", "%N", "/s/a b.html"}));
    EXPECT_EQ(EditorArguments("", "/s/a.html"), Words{});
    EXPECT_EQ(TagJumpLine(" 12 : snippet: with colon"), "12");
    EXPECT_EQ(TagJumpLine("7"), "7");
    EXPECT_EQ(TagJumpLine("\t9\x01: x"), "9");
}

struct LaunchSite : SiteFixture
{
    LaunchSite()
    {
        dir.write("page.html", "");
        dir.write("my pics/a b.gif", "");
        dir.write("notes.txt", "");
        dir.write("100%N.html", "");
        CheckFolder(site, dir.path(), false);
        host.messages.clear();
        host.beeps.clear();
        settings.ExternalEditor = "/usr/bin/editor";
        settings.ExternalViewer = "viewer";
    }
    void select(const std::string &relative) { site.tree.Select(node(relative)); }
    RecordingLauncher launcher;
    test::FakeDesktop desktop;
};

TEST(Launcher, OpenWithExternalAppByKind)
{
    LaunchSite f;
    f.settings.CommandLineOption = "-n %N %F";
    f.select("page.html");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    f.select("my pics/a b.gif");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    ASSERT_EQ(f.launcher.calls.size(), 2u);
    EXPECT_EQ(f.launcher.calls[0].program, "/usr/bin/editor");
    EXPECT_EQ(f.launcher.calls[0].args, (Words{"-n", "%N", f.dir.path() + "page.html"}));
    EXPECT_EQ(f.launcher.calls[1].program, "viewer");
    EXPECT_EQ(f.launcher.calls[1].args, Words{f.dir.path() + "my pics/a b.gif"})
        << "an image gets its bare path, whatever the template says";
    EXPECT_TRUE(f.host.beeps.empty());
    EXPECT_TRUE(f.host.messages.empty());

    f.launcher.calls.clear();
    for (const char *where : {"notes.txt", "my pics", ""}) {
        f.host.beeps.clear();
        f.site.tree.Select(*where ? f.node(where) : nullptr);
        OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
        EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep}) << where;
    }
    f.host.beeps.clear();
    f.site.tree.Select(f.site.tree.Root());
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep});
    EXPECT_TRUE(f.launcher.calls.empty());
}

TEST(Launcher, TagJumpStartsTheEditorAtTheLine)
{
    LaunchSite f;
    f.settings.TagJumpCommandLineOption = "/j%N %F";
    f.select("100%N.html");
    TagJumpClick(f.site, f.launcher, f.desktop.lookup(), "12: <a href=\"x.html\">");
    ASSERT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_EQ(f.launcher.calls[0].program, "/usr/bin/editor");
    EXPECT_EQ(f.launcher.calls[0].args, (Words{"/j12", f.dir.path() + "100%N.html"}));

    f.launcher.calls.clear();
    f.site.tree.Select(f.node("my pics"));
    TagJumpClick(f.site, f.launcher, f.desktop.lookup(), "1: x");
    EXPECT_TRUE(f.launcher.calls.empty());
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep});
}

TEST(Launcher, AProgramThatDoesNotStartBeepsAndSaysSo)
{
    LaunchSite f;
    f.launcher.result = false;
    f.select("page.html");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    f.select("my pics/a b.gif");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    f.select("page.html");
    TagJumpClick(f.site, f.launcher, f.desktop.lookup(), "3: x");
    EXPECT_EQ(f.host.beeps, (std::vector<Sound>{Sound::Beep, Sound::Beep, Sound::Beep}));
    ASSERT_EQ(f.host.messages.size(), 3u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(f.host.messages[0].text, "外部アプリケーション\r\n/usr/bin/editor\r\nを開けません");
    EXPECT_EQ(f.host.messages[1].text, "外部アプリケーション\r\nviewer\r\nを開けません");
    EXPECT_EQ(f.host.messages[2].text, f.host.messages[0].text);
}

TEST(Launcher, WithoutAProgramTheDesktopsApplicationOpensTheFile)
{
    LaunchSite f;
    f.settings.ExternalEditor = "";
    f.settings.ExternalViewer = " ";
    f.desktop.entry("system/applications/web.desktop", "\"/opt/my web/b\" --new-window %u");
    f.desktop.entry("user/applications/pics.desktop", "pics %F");
    f.desktop.answers["xdg-mime query default text/html"] = "web.desktop\n";
    f.desktop.answers["xdg-mime query default image/gif"] = "gone.desktop;pics.desktop\n";

    f.select("page.html");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    f.select("my pics/a b.gif");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    ASSERT_EQ(f.launcher.calls.size(), 2u);
    EXPECT_EQ(f.launcher.calls[0].program, "/opt/my web/b");
    EXPECT_EQ(f.launcher.calls[0].args, (Words{"--new-window", f.dir.path() + "page.html"}));
    EXPECT_EQ(f.launcher.calls[1].program, "pics");
    EXPECT_EQ(f.launcher.calls[1].args, Words{f.dir.path() + "my pics/a b.gif"});
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_EQ(f.desktop.asked,
              (Words{"xdg-mime query default text/html", "xdg-mime query default image/gif"}))
        << "a known extension needs no question about the file's type";

    // A tag jump opens the page all the same and says what the line needs.
    f.launcher.calls.clear();
    f.select("100%N.html");
    TagJumpClick(f.site, f.launcher, f.desktop.lookup(), "12: x");
    ASSERT_EQ(f.launcher.calls.size(), 1u);
    EXPECT_EQ(f.launcher.calls[0].args, (Words{"--new-window", f.dir.path() + "100%N.html"}));
    EXPECT_EQ(f.host.status, TagJumpNeedsEditorStatus);

    // Nothing for the type: a beep and the message that says what to set.
    f.launcher.calls.clear();
    f.desktop.answers.clear();
    f.select("my pics/a b.gif");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    EXPECT_TRUE(f.launcher.calls.empty());
    EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep});
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[0].text, NoApplicationMessage);

    // The desktop's program that does not start is named as any other.
    f.host.messages.clear();
    f.desktop.answers["xdg-mime query default text/html"] = "web.desktop\n";
    f.launcher.result = false;
    f.select("page.html");
    OpenWithExternalAppClick(f.site, f.launcher, f.desktop.lookup());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "外部アプリケーション\r\n/opt/my web/b\r\nを開けません");
}

TEST(FindProgram, SearchesPathForNamesWithoutSlash)
{
    TempDir dir;
    const std::string tool = dir.write("bin/tool", "#!/bin/sh\n");
    ASSERT_EQ(chmod(tool.c_str(), 0755), 0);
    dir.write("bin/plain", "not executable");
    const std::string path = "/nonexistent:" + dir.path() + "bin";
    EXPECT_EQ(FindProgram("tool", path), dir.path() + "bin/tool");
    EXPECT_EQ(FindProgram("plain", path), "");
    EXPECT_EQ(FindProgram("missing", path), "");
    EXPECT_EQ(FindProgram("", path), "");
    EXPECT_EQ(FindProgram("./x/y", path), "./x/y") << "a name with a slash is taken as it is";
}

/// Waits for a file a started program writes; the program runs on its own.
std::string waitForFile(const std::string &path)
{
    for (int i = 0; i < 500; ++i) {
        const std::string text = test::readFile(path);
        if (!text.empty() && text.back() == '\n')
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

TEST(ProcessLauncher, ReportsWhetherTheProgramStarted)
{
    TempDir dir;
    ProcessLauncher launcher;
    EXPECT_TRUE(launcher.start("/bin/true", {}));
    EXPECT_TRUE(launcher.start("true", {"ignored"}));
    EXPECT_FALSE(launcher.start("/nonexistent/program", {}));
    EXPECT_FALSE(launcher.start("orvane-no-such-program-anywhere", {}));
    EXPECT_FALSE(launcher.start("", {}));
    const std::string plain = dir.write("plain", "#!/bin/sh\n"); // no execute permission
    EXPECT_FALSE(launcher.start(plain, {}));
    const std::string badInterpreter = dir.write("bad", "#!/nonexistent/sh\n");
    ASSERT_EQ(chmod(badInterpreter.c_str(), 0755), 0);
    EXPECT_FALSE(launcher.start(badInterpreter, {})) << "exec fails, so it did not start";
}

TEST(ProcessLauncher, PassesTheWordsUnchangedAndDoesNotWait)
{
    TempDir dir;
    const std::string out = dir.path() + "out.txt";
    const std::string script =
        dir.write("editor", "#!/bin/sh\nsleep 0.2\nprintf '[%s]' \"$@\" > \"$OUTFILE.tmp\"\n"
                            "echo >> \"$OUTFILE.tmp\"\nmv \"$OUTFILE.tmp\" \"$OUTFILE\"\n");
    ASSERT_EQ(chmod(script.c_str(), 0755), 0);
    ASSERT_EQ(setenv("OUTFILE", out.c_str(), 1), 0);
    ProcessLauncher launcher;
    ASSERT_TRUE(launcher.start(script, {"/j12", "a b.html", "", "$HOME"}));
    unsetenv("OUTFILE");
    EXPECT_EQ(waitForFile(out), "[/j12][a b.html][][$HOME]\n");
}

TEST(CaptureOutput, ReturnsStandardOutputOrNothing)
{
    EXPECT_EQ(CaptureOutput({"echo", "hello", "world"}, 5000), "hello world\n");
    EXPECT_EQ(CaptureOutput({"sh", "-c", "echo err >&2; printf out"}, 5000), "out");
    EXPECT_EQ(CaptureOutput({"orvane-no-such-program-anywhere"}, 5000), "");
    EXPECT_EQ(CaptureOutput({}, 5000), "");
    EXPECT_EQ(CaptureOutput({"sh", "-c", "printf early; sleep 30"}, 200), "")
        << "a program that hangs is killed and counts as giving nothing";
}

} // namespace
} // namespace orvane
