// Sites and pages far beyond the usual: a 200 MB page, pages made of nothing
// but tag openings and quotes, 20,000 files in one folder and a chain of
// 100,000 pages that the walk must follow to its end without a call level per
// page.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/linkextract.h"
#include "engine/stringlist.h"
#include "support/faultsupport.h"
#include "support/literal_extract.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::SiteFixture;

/// Writes many small files fast: one open, write and close each.
void writeQuickly(const std::string &path, const std::string &contents)
{
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(write(fd, contents.data(), contents.size()), static_cast<ssize_t>(contents.size()));
    close(fd);
}

std::string repeat(const std::string &unit, size_t bytes)
{
    std::string out;
    out.reserve(bytes + unit.size());
    while (out.size() < bytes)
        out += unit;
    return out;
}

struct Extracted
{
    std::vector<std::string> links;
    std::vector<LinkPlace> places;
    std::vector<std::string> anchors;
    std::vector<uint64_t> targets; // as the id set keeps them
};

Extracted extract(std::string text, bool literal)
{
    test::RecordingHost host;
    const bool halt = false;
    const ExtractContext context{host, halt, false, false, "page.html"};
    PageLinks lists;
    if (literal)
        test::LiteralExtractLinks(text, context, lists);
    else
        ExtractLinksFromText(text, context, lists);
    return {lists.links.items(), lists.places, lists.anchors.items(), lists.targets.hashes()};
}

TEST(FaultScale, APageOf200MegabytesIsReadWhole)
{
    test::ScopedMemoryTemp memory;
    SiteFixture f;
    const std::string &d = f.dir.path();
    // Sparse: NUL bytes read as blanks, so the page is text, 200 MB long,
    // with a link at either end.
    if (!test::MakeSparseFile(d + "huge.html", 200ULL << 20, "<a href=first.html>",
                              "<a href=last.html><a name=end>"))
        GTEST_SKIP() << "no sparse files here";
    f.dir.write("first.html", "");
    f.dir.write("last.html", "");
    f.project.AddTopFile(d + "huge.html");
    CheckFolder(f.site, d, true);
    EXPECT_EQ(f.object("huge.html")->ValidLinks.ToVector(),
              (std::vector<std::string>{"first.html", "last.html"}));
    EXPECT_EQ(f.object("huge.html")->Anchors.items(), std::vector<std::string>{"end"});
    EXPECT_TRUE(f.orphans().empty());
    EXPECT_EQ(f.host.messages.size(), 1u) << "only the summary";
}

TEST(FaultScale, PagesOfNothingButTagOpeningsAndQuotes)
{
    const std::vector<std::string> units = {
        "<A",           "<A\"",         "<A'",          "<A \"",     "<A HREF=\"",
        "<A HREF='<A ", "<a href=\"'<", "<A NAME='\">", "\"'<A\"'>", "<!--<A-->",
        "<!---->",      "<A<!--\"",     "<A HREF=<A>",  "<A\r\n",    "<META CONTENT=\"URL=<A",
    };
    for (const std::string &unit : units) {
        // Against the step-by-step extraction on a short page...
        for (const std::string &tail : {std::string(), std::string(">")}) {
            const std::string small = repeat(unit, 4096) + tail;
            const Extracted fast = extract(small, false);
            const Extracted literal = extract(small, true);
            EXPECT_EQ(fast.links, literal.links) << unit;
            EXPECT_EQ(fast.anchors, literal.anchors) << unit;
            EXPECT_EQ(fast.targets, literal.targets) << unit;
            EXPECT_EQ(fast.places, literal.places) << unit;
        }
        // ...and through a whole check on a page of 1 MB, which must end.
        test::ScopedMemoryTemp memory;
        SiteFixture f;
        f.dir.write("page.html", repeat(unit, 1 << 20) + ">");
        CheckFolder(f.site, f.dir.path(), false);
        ASSERT_NE(f.object("page.html"), nullptr) << unit;
        EXPECT_EQ(f.site.BusyCount, 0);
    }
}

TEST(FaultScale, TwentyThousandFilesInOneFolder)
{
    test::ScopedMemoryTemp memory;
    SiteFixture f;
    const std::string &d = f.dir.path();
    constexpr int count = 20000;
    std::string index;
    char name[32];
    for (int i = 0; i < count; ++i) {
        // Written in an order unlike the sorted one.
        std::snprintf(name, sizeof name, "f%05d.gif", (i * 7919) % count);
        writeQuickly(d + name, "");
        index += std::string("<img src=") + name + ">";
    }
    f.dir.write("index.html", index);
    f.project.AddTopFile(d + "index.html");
    CheckFolder(f.site, d, true);

    const std::vector<std::string> files = f.files();
    ASSERT_EQ(files.size(), static_cast<size_t>(count) + 1);
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
    EXPECT_EQ(files.front(), "f00000.gif");
    EXPECT_EQ(f.object("index.html")->ValidLinks.size(), static_cast<size_t>(count));
    EXPECT_TRUE(f.orphans().empty());
    EXPECT_EQ(f.host.fileCount, count + 1);
}

TEST(FaultScale, AChainOf100000PagesIsWalkedToItsEnd)
{
    test::ScopedMemoryTemp memory;
    SiteFixture f;
    const std::string &d = f.dir.path();
    constexpr int count = 100000;
    char name[32];
    char page[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "p%06d.html", i);
        std::snprintf(page, sizeof page, "<a href=p%06d.html>next</a>", i + 1);
        writeQuickly(d + name, i + 1 < count ? page : "the end");
    }
    f.dir.write("orphan.html", "<a href=p000000.html>in</a>");
    f.project.AddTopFile(d + "p000000.html");
    CheckFolder(f.site, d, true);

    EXPECT_EQ(f.site.FileObjects.size(), static_cast<size_t>(count) + 1);
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"orphan.html"});
    EXPECT_EQ(f.object("p099999.html")->ReachState, ReachState::reached);
    EXPECT_EQ(f.object("p000000.html")->ReachState, ReachState::top);
}

TEST(FaultScale, FoldersNestedAsDeepAsPathsGo)
{
    test::ScopedMemoryTemp memory;
    SiteFixture f;
    // Some 1,900 levels: close to the system's limit on the length of a path.
    std::string deep;
    int fd = open(f.dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd >= 0 && f.dir.path().size() + deep.size() < 3900) {
        ASSERT_EQ(mkdirat(fd, "d", 0755), 0) << deep.size();
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = next;
        deep += "d/";
    }
    ASSERT_GE(fd, 0);
    close(fd);
    f.dir.write(deep + "x.html", "");
    f.dir.write("index.html", "<a href=" + deep + "x.html>down</a>");
    f.project.AddTopFile(f.dir.path() + "index.html");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_EQ(f.files(), (std::vector<std::string>{deep + "x.html", "index.html"}));
    EXPECT_TRUE(f.orphans().empty());
    EXPECT_EQ(f.site.FolderNodes.size(), deep.size() / 2);
}

} // namespace
} // namespace orvane
