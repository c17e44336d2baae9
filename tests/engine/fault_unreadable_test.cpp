// Pages and folders that cannot be read: the check goes on with the rest of the
// site, tells the user about pages it could not open, and never blocks.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/faultsupport.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace orvane {
namespace {

using test::SiteFixture;

std::vector<std::string> messageTexts(const test::RecordingHost &host)
{
    std::vector<std::string> texts;
    for (const auto &m : host.messages)
        texts.push_back(m.text);
    return texts;
}

std::string openFailure(const std::string &path)
{
    return "ファイルをオープンできません\r\n" + path;
}

std::string danglingLink(const std::string &path)
{
    return "シンボリックリンクのリンク先がありません\r\n" + path;
}

TEST(FaultUnreadable, SpecialEntriesLeaveTheRestOfTheSiteChecked)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("index.html",
                "<a href=pipe.html>p</a><a href=ok.html>o</a><a href=gone.html>g</a>");
    f.dir.write("ok.html", "<a href=index.html>back</a>");
    // A named pipe would block a plain read until some writer came along.
    ASSERT_EQ(mkfifo((d + "pipe.html").c_str(), 0644), 0);
    // A link to nothing, a folder replaced by such a link, a link to itself.
    ASSERT_EQ(symlink((d + "nowhere.html").c_str(), (d + "gone.html").c_str()), 0);
    ASSERT_EQ(symlink((d + "nowhere").c_str(), (d + "sub").c_str()), 0);
    ASSERT_EQ(symlink((d + "loop.html").c_str(), (d + "loop.html").c_str()), 0);
    // A page name that is a folder, and a page name that links to a folder.
    f.dir.write("dir.html/inner.html", "<a href=../ok.html>x</a>");
    ASSERT_EQ(symlink((d + "dir.html").c_str(), (d + "alias.html").c_str()), 0);

    f.project.AddTopFile(d + "index.html");
    CheckFolder(f.site, d, true);

    EXPECT_EQ(f.files(),
              (std::vector<std::string>{"alias.html/inner.html", "dir.html/inner.html", "gone.html",
                                        "index.html", "loop.html", "ok.html", "pipe.html", "sub"}));
    EXPECT_EQ(messageTexts(f.host),
              (std::vector<std::string>{danglingLink(d + "gone.html"),
                                        danglingLink(d + "loop.html"), danglingLink(d + "sub"),
                                        "無効リンクを含むファイルの数 0\r\n無効リンクの総数 0"}));
    EXPECT_TRUE(f.object("pipe.html")->Links.empty());
    EXPECT_EQ(f.object("index.html")->ValidLinks.size(), 3u);
    EXPECT_EQ(f.object("dir.html/inner.html")->ValidLinks.size(), 1u);
    EXPECT_EQ(f.orphans(), (std::vector<std::string>{"alias.html/inner.html", "dir.html/inner.html",
                                                     "loop.html", "sub"}));
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(FaultUnreadable, PermissionDeniedPageAndFolder)
{
    if (test::RunningAsRoot())
        GTEST_SKIP() << "permission bits do not stop root";
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("index.html", "<a href=secret.html>s</a><a href=closed/a.html>c</a>");
    f.dir.write("secret.html", "<a href=index.html>x</a>");
    f.dir.write("closed/a.html", "");
    ASSERT_EQ(chmod((d + "secret.html").c_str(), 0), 0);
    ASSERT_EQ(chmod((d + "closed").c_str(), 0), 0);
    CheckFolder(f.site, d, false);
    chmod((d + "closed").c_str(), 0755);

    EXPECT_EQ(f.files(), (std::vector<std::string>{"index.html", "secret.html"}));
    ASSERT_NE(f.node("closed"), nullptr) << "the folder is shown, empty";
    EXPECT_EQ(f.node("closed")->Count(), 0u);
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[0].text, openFailure(d + "secret.html"));
    EXPECT_TRUE(f.object("secret.html")->Links.empty());
    EXPECT_EQ(f.object("index.html")->InvalidLinks.ToVector(),
              std::vector<std::string>{"closed/a.html"});
}

} // namespace
} // namespace orvane
