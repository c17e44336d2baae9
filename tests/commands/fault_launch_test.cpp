// A site's file names reach the editor's command line: whatever blanks, quotes
// or backslashes a name holds, the page's path stays one argument and never
// turns into options or commands for the editor.
#include "commands/browser.h"
#include "commands/launcher.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/fakedesktop.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Words = std::vector<std::string>;

struct Recorder : Launcher
{
    std::vector<Words> calls;
    bool start(const std::string &program, const Words &args) override
    {
        Words call{program};
        call.insert(call.end(), args.begin(), args.end());
        calls.push_back(call);
        return true;
    }
};

TEST(FaultLaunch, AHostileFileNameStaysOneArgument)
{
    const std::vector<std::string> names = {
        "a -c !touch pwned .html",
        "x' -c '!id' '.html",
        "y\" --eval \"(kill-emacs)\" \".html",
        "z\\ -x.html",
        "new\nline.html",
        "$(id).html",
        "tab\t--flag.html",
        "%N%F.html",
    };
    const std::vector<std::string> templates = {"%F", "'%F'", "\"%F\"", "--file=%F", "-n %F"};
    test::SiteFixture f;
    for (const std::string &name : names)
        f.dir.write(name, "<a href=x>x</a>");
    CheckFolder(f.site, f.dir.path(), false);
    f.settings.ExternalEditor = "/usr/bin/editor";
    for (const std::string &name : names) {
        const std::string path = f.dir.path() + name;
        f.site.tree.Select(f.node(name));
        for (const std::string &option : templates) {
            Recorder launcher;
            f.settings.CommandLineOption = option;
            f.settings.TagJumpCommandLineOption = "+%N " + option;
            OpenWithExternalAppClick(f.site, launcher, {});
            TagJumpClick(f.site, launcher, {}, "7: <a href=x>");
            ASSERT_EQ(launcher.calls.size(), 2u);
            const std::string word = option == "--file=%F" ? "--file=" + path : path;
            const Words open = option == "-n %F" ? Words{"/usr/bin/editor", "-n", word}
                                                 : Words{"/usr/bin/editor", word};
            EXPECT_EQ(launcher.calls[0], open) << option << " " << name;
            Words jump = open;
            jump.insert(jump.begin() + 1, "+7");
            EXPECT_EQ(launcher.calls[1], jump) << option << " " << name;
        }
    }
}

TEST(FaultLaunch, AHostileFileNameStaysOneArgumentForTheDesktopsApplication)
{
    const std::vector<std::string> names = {
        "a -c !touch pwned .html", "x' %u '.html", "y\" %F \".html", "new\nline.html", "$(id).html",
    };
    test::SiteFixture f;
    test::FakeDesktop desktop;
    desktop.entry("user/applications/web.desktop", "web --new-window %U --last");
    desktop.answers["xdg-mime query default text/html"] = "web.desktop\n";
    for (const std::string &name : names)
        f.dir.write(name, "<a href=x>x</a>");
    CheckFolder(f.site, f.dir.path(), false);
    f.settings.ExternalEditor.clear();
    for (const std::string &name : names) {
        f.site.tree.Select(f.node(name));
        Recorder launcher;
        OpenWithExternalAppClick(f.site, launcher, desktop.lookup());
        TagJumpClick(f.site, launcher, desktop.lookup(), "7: <a href=x>");
        const Words expected{"web", "--new-window", f.dir.path() + name, "--last"};
        EXPECT_EQ(launcher.calls, (std::vector<Words>{expected, expected})) << name;
    }
}

} // namespace
} // namespace orvane
