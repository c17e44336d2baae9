// The site changes while it is being scanned: pages and folders vanish or turn
// into something else between the listing of a folder and the reading of its
// entries. The check carries on with what is there and ends normally.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/faultsupport.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::SiteFixture;

/// Runs change once, at the first pending-events call at which ready() holds.
void changeOnceWhen(SiteFixture &f, std::function<bool()> ready, std::function<void()> change)
{
    auto done = std::make_shared<bool>(false);
    f.host.onProcessEvents = [done, ready, change](long) {
        if (!*done && ready()) {
            *done = true;
            change();
        }
    };
}

std::string openFailure(const std::string &path)
{
    return "ファイルをオープンできません\r\n" + path;
}

TEST(FaultMutation, PagesThatVanishOrChangeAfterTheListing)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("a.html", "<a href=b.html>b</a><a href=c.html>c</a><a href=d.html>d</a>");
    f.dir.write("b.html", "<a href=a.html>a</a>");
    f.dir.write("c.html", "<a href=a.html>a</a>");
    f.dir.write("d.html", "<a href=a.html>a</a>");
    f.dir.write("e.html", "<a href=a.html>a</a>");
    // Pages read ahead would be read before the change.
    f.site.ReadAheadWorkers = 0;
    // Once a.html is read, the folder has long been listed.
    changeOnceWhen(
        f, [&] { return f.site.FileObjects.size() == 1; },
        [&] {
            ASSERT_EQ(unlink((d + "b.html").c_str()), 0);
            ASSERT_EQ(unlink((d + "c.html").c_str()), 0);
            ASSERT_EQ(mkdir((d + "c.html").c_str(), 0755), 0);
            ASSERT_EQ(unlink((d + "d.html").c_str()), 0);
            ASSERT_EQ(mkfifo((d + "d.html").c_str(), 0644), 0);
        });
    f.project.AddTopFile(d + "a.html");
    CheckFolder(f.site, d, true);

    EXPECT_EQ(f.files(),
              (std::vector<std::string>{"a.html", "b.html", "c.html", "d.html", "e.html"}));
    // A FIFO where a page was is not opened either.
    ASSERT_EQ(f.host.messages.size(), 4u);
    EXPECT_EQ(f.host.messages[0].text, openFailure(d + "b.html"));
    EXPECT_EQ(f.host.messages[1].text, openFailure(d + "c.html"));
    EXPECT_EQ(f.host.messages[2].text, openFailure(d + "d.html"));
    for (const char *gone : {"b.html", "c.html", "d.html"})
        EXPECT_TRUE(f.object(gone)->Links.empty()) << gone;
    EXPECT_EQ(f.object("e.html")->ValidLinks.size(), 1u);
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"e.html"});
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(FaultMutation, FoldersThatVanishOrChangeBeforeTheyAreEntered)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    // More files in a than the walk lists ahead of the tree, so that b to e
    // are listed only after a's node is in.
    std::vector<std::string> files;
    for (int i = 0; i < 1000; ++i) {
        files.push_back("a/x" + std::to_string(1000 + i) + ".html");
        f.dir.write(files.back(), "");
    }
    files.push_back("top.html");
    f.dir.write("b/deep/y.html", "");
    f.dir.write("c/z.html", "");
    f.dir.write("d/w.html", "");
    f.dir.write("e/v.html", "");
    f.dir.write("top.html", "");
    // While a is scanned, b goes, c becomes a file, d a link back to the site
    // (a loop) and e a link to nowhere.
    changeOnceWhen(
        f, [&] { return f.site.FolderNodes.size() == 1; },
        [&] {
            fs::remove_all(d + "b");
            fs::remove_all(d + "c");
            f.dir.write("c", "now a file");
            fs::remove_all(d + "d");
            ASSERT_EQ(symlink(d.c_str(), (d + "d").c_str()), 0);
            fs::remove_all(d + "e");
            ASSERT_EQ(symlink((d + "nowhere").c_str(), (d + "e").c_str()), 0);
        });
    CheckFolder(f.site, d, false);

    EXPECT_EQ(f.files(), files);
    for (const char *folder : {"b", "c", "d", "e"}) {
        ASSERT_NE(f.node(folder), nullptr) << folder;
        EXPECT_EQ(f.node(folder)->Count(), 0u) << folder;
    }
    EXPECT_EQ(f.site.FolderNodes.size(), 5u);
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(FaultMutation, AFolderRemovedWhileItIsListedOrTheSiteBeforeTheCheck)
{
    for (const unsigned workers : {0u, 1u}) {
        SiteFixture f;
        const std::string &d = f.dir.path();
        for (int i = 0; i < 5; ++i)
            f.dir.write("sub/p" + std::to_string(i) + ".html", "<a href=../index.html>x</a>");
        f.dir.write("index.html", "<a href=sub/p0.html>x</a>");
        f.site.ReadAheadWorkers = workers;
        // The folder goes once it is open for listing: what the listing
        // returns is in the tree, and each of those pages is reported as
        // unopenable. A page read ahead before it went keeps what it held.
        changeOnceWhen(
            f, [&] { return f.site.FolderNodes.size() == 1; }, [&] { fs::remove_all(d + "sub"); });
        f.project.AddTopFile(d + "index.html");
        CheckFolder(f.site, d, true);
        std::vector<std::string> expected;
        for (const std::string &file : f.files()) {
            const bool readAhead = workers > 0 && f.object(file)->Links.size() == 1;
            if (file != "index.html" && !readAhead)
                expected.push_back(openFailure(d + file));
        }
        expected.push_back("無効リンクを含むファイルの数 0\r\n無効リンクの総数 0");
        std::vector<std::string> texts;
        for (const auto &m : f.host.messages)
            texts.push_back(m.text);
        EXPECT_EQ(texts, expected) << workers << " workers";
        EXPECT_EQ(f.files().back(), "index.html");
        EXPECT_EQ(f.site.BusyCount, 0);

        // Gone before the check starts: the folder is reported and nothing
        // changes.
        fs::remove_all(d);
        CheckFolder(f.site, d, true);
        EXPECT_EQ(f.host.messages.back().text, "ディレクトリが存在しません\r\n" + d);
        EXPECT_EQ(f.files().back(), "index.html") << "the tree stays as it was";
        fs::create_directories(d); // for the fixture's clean-up
    }
}

TEST(FaultMutation, FilesAddedDuringTheScanDoNotDisturbIt)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("a.html", "");
    f.dir.write("m/b.html", "");
    f.dir.write("z.html", "");
    long made = 0;
    f.host.onProcessEvents = [&](long) {
        if (made < 200)
            f.dir.write("m/new" + std::to_string(made++) + ".html", "<a href=../a.html>x</a>");
    };
    CheckFolder(f.site, d, false);
    // Whatever the listing caught of the new files is in the tree, read whole;
    // the rest is not, and the run ends.
    const std::vector<std::string> files = f.files();
    EXPECT_GE(files.size(), 3u);
    for (const std::string &file : files) {
        if (file.rfind("m/new", 0) == 0) {
            EXPECT_EQ(f.object(file)->ValidLinks.size(), 1u) << file;
        }
    }
    EXPECT_EQ(f.site.BusyCount, 0);
}

} // namespace
} // namespace orvane
