#include "commands/browser.h"

#include "commands/launcher.h"
#include "engine/checkrun.h"
#include "support/fakedesktop.h"
#include "support/sitefixture.h"

#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

#include <sys/stat.h>

namespace orvane {
namespace {

using test::SiteFixture;
using test::TempDir;
using Words = std::vector<std::string>;

struct RecordingLauncher : Launcher
{
    bool start(const std::string &program, const Words &args) override
    {
        calls.push_back({program, args});
        return result;
    }
    std::vector<std::pair<std::string, Words>> calls;
    bool result = true;
};

using test::FakeDesktop;

const std::string MimeQuery = "xdg-mime query default text/html";
const std::string SettingsQuery = "xdg-settings get default-web-browser";

TEST(OpenBrowser, ApplicationDirsFollowTheXdgRules)
{
    EXPECT_EQ(ApplicationDirs(nullptr, nullptr, "/home/u"),
              (Words{"/home/u/.local/share/applications", "/usr/local/share/applications",
                     "/usr/share/applications"}));
    EXPECT_EQ(ApplicationDirs("/data", "/a::relative:/b", "/home/u"),
              (Words{"/data/applications", "/a/applications", "/b/applications"}));
    EXPECT_EQ(ApplicationDirs("relative", "", nullptr),
              (Words{"/usr/local/share/applications", "/usr/share/applications"}));
}

TEST(OpenBrowser, ExecValueComesFromTheDesktopEntryGroup)
{
    const std::string text = "# comment\r\n"
                             "[Desktop Action new-window]\r\n"
                             "Exec=wrong --new-window\r\n"
                             "[Desktop Entry]\r\n"
                             "TryExec=nope\r\n"
                             "Exec[de]=localised\r\n"
                             "Exec =  /opt/My\\sBrowser/b \"a\\\\\\\\b\" %u\r\n";
    EXPECT_EQ(DesktopExecValue(text), "/opt/My Browser/b \"a\\\\b\" %u");
    EXPECT_EQ(DesktopExecValue("[Desktop Entry]\nName=x\n"), "");
    EXPECT_EQ(DesktopExecValue("Exec=outside-any-group\n"), "");
}

TEST(OpenBrowser, ParseDesktopExecPlacesTheTarget)
{
    struct Row
    {
        const char *exec;
        std::string program;
        Words forTarget; // arguments for the target "T"
    };
    const Row rows[] = {
        {"firefox %u", "firefox", {"T"}},
        {"/opt/b --new-window %U --flag", "/opt/b", {"--new-window", "T", "--flag"}},
        {"b %i %c %k --x=%u", "b", {"--x=T"}},
        {"b", "b", {"T"}},
        {"b --profile", "b", {"--profile", "T"}},
        {"\"/opt/my browser/b\" %f", "/opt/my browser/b", {"T"}},
        {"b \"quoted \\\"arg\\\"\" %u", "b", {"quoted \"arg\"", "T"}},
        {"b %%u %u", "b", {"%u", "T"}},
        {"b %f %u %F", "b", {"T"}},
        {"env A=1 b %U", "env", {"A=1", "b", "T"}},
        {"", "", {"T"}},
    };
    for (const Row &row : rows) {
        const BrowserCommand command = ParseDesktopExec(row.exec);
        EXPECT_EQ(command.program, row.program) << row.exec;
        EXPECT_EQ(command.argumentsFor("T"), row.forTarget) << row.exec;
    }
}

TEST(OpenBrowser, FindBrowserAsksXdgMimeFirstThenXdgSettings)
{
    FakeDesktop d;
    d.entry("system/applications/web.desktop", "web-browser %u");
    d.entry("user/applications/web.desktop", "user-browser %u");
    d.entry("system/applications/vendor/other.desktop", "other-browser");
    d.answers[MimeQuery] = "web.desktop\n";
    d.answers[SettingsQuery] = "vendor-other.desktop\n";

    EXPECT_EQ(FindBrowser(d.lookup()).program, "user-browser") << "the user's entry comes first";
    EXPECT_EQ(d.asked, Words{"xdg-mime query default text/html"});

    d.asked.clear();
    d.answers[MimeQuery] = "";
    EXPECT_EQ(FindBrowser(d.lookup()).program, "other-browser") << "a-b.desktop may be a/b.desktop";
    EXPECT_EQ(d.asked,
              (Words{"xdg-mime query default text/html", "xdg-settings get default-web-browser"}));

    d.answers[MimeQuery] = "missing.desktop;web.desktop\n";
    EXPECT_EQ(FindBrowser(d.lookup()).program, "user-browser");

    d.answers[MimeQuery] = "missing.desktop\n";
    EXPECT_EQ(FindBrowser(d.lookup()).program, "other-browser");

    d.answers[SettingsQuery] = "../../etc/passwd\n";
    EXPECT_TRUE(FindBrowser(d.lookup()).empty());

    d.answers.clear();
    EXPECT_TRUE(FindBrowser(d.lookup()).empty());
    d.entry("user/applications/noexec.desktop", "");
    d.answers[MimeQuery] = "noexec.desktop";
    EXPECT_TRUE(FindBrowser(d.lookup()).empty()) << "an entry without a program is no browser";
}

/// Sets an environment variable for one scope.
using test::ScopedEnv;

TEST(OpenBrowser, SystemLookupRunsTheDesktopToolAndReadsTheUsersEntry)
{
    TempDir dir;
    const std::string tool = dir.write("bin/xdg-mime", "#!/bin/sh\n"
                                                       "[ \"$*\" = 'query default text/html' ] && "
                                                       "echo fake-web.desktop\n");
    ASSERT_EQ(chmod(tool.c_str(), 0755), 0);
    dir.write("data/applications/fake/web.desktop",
              "[Desktop Entry]\nExec=fake-browser --tab %U\n");
    const char *path = std::getenv("PATH");
    ScopedEnv pathEnv("PATH", dir.path() + "bin:" + (path ? path : "/usr/bin:/bin"));
    ScopedEnv dataEnv("XDG_DATA_HOME", dir.path() + "data");
    const BrowserCommand command = FindBrowser(SystemBrowserLookup());
    EXPECT_EQ(command.program, "fake-browser");
    EXPECT_EQ(command.argumentsFor("/a.html"), (Words{"--tab", "/a.html"}));
}

TEST(OpenBrowser, OpensTheTargetUnchangedWithoutWaiting)
{
    RecordingLauncher launcher;
    WebBrowser browser(ParseDesktopExec("b --new-window %u"), launcher);
    browser.OpenInBrowser("/site/a b.html");
    browser.OpenInBrowser("https://example.org/?q=1&r=2#x");
    ASSERT_EQ(launcher.calls.size(), 2u);
    EXPECT_EQ(launcher.calls[0].first, "b");
    EXPECT_EQ(launcher.calls[0].second, (Words{"--new-window", "/site/a b.html"}))
        << "a local path is not made a file URL";
    EXPECT_EQ(launcher.calls[1].second, (Words{"--new-window", "https://example.org/?q=1&r=2#x"}));
}

TEST(OpenBrowser, WithoutABrowserEveryAttemptFails)
{
    RecordingLauncher launcher;
    WebBrowser none(BrowserCommand{}, launcher);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            none.OpenInBrowser("/site/a.html");
            FAIL() << "no failure";
        } catch (const EBrowserNotFound &e) {
            EXPECT_STREQ(e.what(), "Das angegebene Browserprogramm exitiert nicht!");
        }
    }
    EXPECT_TRUE(launcher.calls.empty());

    launcher.result = false; // the named program is gone
    WebBrowser missing(ParseDesktopExec("gone %u"), launcher);
    EXPECT_THROW(missing.OpenInBrowser("/site/a.html"), EBrowserNotFound);
}

TEST(OpenBrowser, OpenWithBrowserClickTakesAnyFileAndBeepsOtherwise)
{
    SiteFixture f;
    f.dir.write("notes.txt", "");
    f.dir.write("sub/page.html", "<a name=top></a>");
    CheckFolder(f.site, f.dir.path(), false);
    f.host.beeps.clear();
    RecordingLauncher launcher;
    WebBrowser browser(ParseDesktopExec("b %u"), launcher);

    f.site.tree.Select(f.node("notes.txt"));
    OpenWithBrowserClick(f.site, browser);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].second, Words{f.dir.path() + "notes.txt"});

    for (TreeNode *node : {f.node("sub"), f.node("sub/page.html/top"), f.site.tree.Root(),
                           static_cast<TreeNode *>(nullptr)}) {
        f.host.beeps.clear();
        f.site.tree.Select(node);
        OpenWithBrowserClick(f.site, browser);
        EXPECT_EQ(f.host.beeps, std::vector<Sound>{Sound::Beep});
    }
    EXPECT_EQ(launcher.calls.size(), 1u);
}

} // namespace
} // namespace orvane
