#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/referrers.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace orvane {
namespace {

using test::SiteFixture;

/// Each referrer of a file as (line, count, state), by the page's path below
/// the site folder.
using Seen = std::map<std::string, std::tuple<uint32_t, uint32_t, ReferrerState>>;

Seen referrersOf(SiteFixture &f, const std::string &relative)
{
    const FileObject *object = f.object(relative);
    EXPECT_NE(object, nullptr) << relative;
    Seen seen;
    if (!object)
        return seen;
    const ReferrerTable &table = f.site.Referrers();
    for (const Referrer &referrer : table.Of(*object)) {
        const FileObject *page = table.Page(referrer);
        seen[page->FullPath.substr(f.dir.path().size())] = {
            table.Line(referrer), table.Count(referrer, *object), ReferrerStateOf(*page)};
    }
    return seen;
}

OrphanReason reasonOf(SiteFixture &f, const std::string &relative)
{
    return OrphanReasonOf(f.site.Referrers(), *f.object(relative));
}

void writeSite(SiteFixture &f)
{
    f.dir.write("index.html", "<a href=a.html>a</a>\n"
                              "<a href=a.html#x>x</a> <a href=index.html>self</a>\n"
                              "<img src=pic.gif> <a href=a.html>again</a>\n");
    f.dir.write("a.html", "<a name=x></a>\n\n<a href=index.html>home</a>\n");
    f.dir.write("pic.gif", "");
    f.dir.write("unused.gif", "");
    f.dir.write("lonely.html", "<a href=orphan2.html>o</a>\n\n<a href='a.html'>a</a>\n");
    f.dir.write("orphan2.html", "");
    f.dir.write("excluded.html", "<a href=ex-only.html>e</a>");
    f.dir.write("ex-only.html", "");
    f.project.AddTopFile(f.dir.path() + "index.html");
    f.project.AddIgnoreFile(f.dir.path() + "excluded.html");
    CheckFolder(f.site, f.dir.path(), true);
}

TEST(Referrers, ListEveryPageLinkingHereWithFirstLineCountAndState)
{
    SiteFixture f;
    writeSite(f);
    // Two links of index.html lead to a.html, one of them named twice: one
    // referrer, at the first line, counting every place.
    EXPECT_EQ(referrersOf(f, "a.html"), (Seen{{"index.html", {1, 3, ReferrerState::top}},
                                              {"lonely.html", {3, 1, ReferrerState::unreached}}}));
    EXPECT_EQ(referrersOf(f, "index.html"), (Seen{{"a.html", {3, 1, ReferrerState::reached}}}))
        << "a page's link to itself makes it no referrer";
    EXPECT_EQ(referrersOf(f, "pic.gif"), (Seen{{"index.html", {3, 1, ReferrerState::top}}}));
    EXPECT_EQ(referrersOf(f, "ex-only.html"),
              (Seen{{"excluded.html", {1, 1, ReferrerState::excluded}}}));
    EXPECT_TRUE(referrersOf(f, "unused.gif").empty());

    EXPECT_EQ(reasonOf(f, "unused.gif"), OrphanReason::noReferrer);
    EXPECT_EQ(reasonOf(f, "lonely.html"), OrphanReason::noReferrer);
    EXPECT_EQ(reasonOf(f, "orphan2.html"), OrphanReason::onlyOrphanedReferrers);
    EXPECT_EQ(reasonOf(f, "ex-only.html"), OrphanReason::onlyOrphanedReferrers);
    EXPECT_EQ(reasonOf(f, "a.html"), OrphanReason::none) << "reached";
    EXPECT_EQ(reasonOf(f, "excluded.html"), OrphanReason::none) << "excluded, no orphan";
}

TEST(Referrers, TableIsMadeOnceAndAgainAfterAChangeOfTheFiles)
{
    SiteFixture f;
    writeSite(f);
    const ReferrerTable *first = &f.site.Referrers();
    EXPECT_EQ(&f.site.Referrers(), first) << "asked again without a change";
    EXPECT_GT(first->MemoryUse(), 0u);

    // Deleting a page moves the others in FileObjects and ends the walk
    // targets the check kept: the table is made again, resolving afresh.
    ForgetFileObject(f.object("lonely.html"));
    EXPECT_EQ(referrersOf(f, "a.html"), (Seen{{"index.html", {1, 3, ReferrerState::top}}}));
    EXPECT_TRUE(referrersOf(f, "orphan2.html").empty());
    EXPECT_EQ(referrersOf(f, "index.html"), (Seen{{"a.html", {3, 1, ReferrerState::reached}}}));

    // A new check of the same folder: the old objects are gone.
    f.dir.write("unused.gif", "");
    f.dir.write("b.html", "<img src=unused.gif>");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_EQ(referrersOf(f, "unused.gif"), (Seen{{"b.html", {1, 1, ReferrerState::unreached}}}));
    EXPECT_EQ(reasonOf(f, "unused.gif"), OrphanReason::onlyOrphanedReferrers);
}

TEST(Referrers, DeletingCountsOnlyLinksFromPagesThatStay)
{
    SiteFixture f;
    f.dir.write("sub/a.html", "<img src=b.gif><a href=../p0.html>out</a>");
    f.dir.write("sub/b.gif", "");
    for (int i = 0; i < 7; ++i)
        f.dir.write("p" + std::to_string(i) + ".html",
                    "<a href=sub/a.html>a</a><img src=sub/b.gif><img src=sub/b.gif>"
                    "<a href=p0.html>p0</a>");
    CheckFolder(f.site, f.dir.path(), false);
    const BrokenLinks going = LinksBrokenByDeleting(
        f.site.Referrers(), {f.object("sub/a.html"), f.object("sub/b.gif")}, 5);
    // Each page names sub/a.html once and sub/b.gif twice; sub/a.html's own
    // image goes with it.
    EXPECT_EQ(going.links, 7u * 3u);
    EXPECT_EQ(going.pageCount, 7u);
    ASSERT_EQ(going.pages.size(), 5u);
    for (size_t i = 1; i < going.pages.size(); ++i)
        EXPECT_LT(going.pages[i - 1]->TableIndex, going.pages[i]->TableIndex) << "in order";

    const BrokenLinks file = LinksBrokenByDeleting(f.site.Referrers(), {f.object("p0.html")}, 5);
    EXPECT_EQ(file.links, 7u) << "sub/a.html and the six other pages; p0's own link stays out";
    EXPECT_EQ(file.pageCount, 7u);

    const BrokenLinks none = LinksBrokenByDeleting(f.site.Referrers(), {f.object("p3.html")}, 5);
    EXPECT_EQ(none.links, 0u);
    EXPECT_TRUE(none.pages.empty());
}

TEST(Referrers, ShownForAnyFileNodeWithTheOrphanReason)
{
    SiteFixture f;
    writeSite(f);
    f.dir.write("sub/deep.html", "<a href=../pic.gif>p</a>");
    CheckFolder(f.site, f.dir.path(), true);
    ShowLinkLists(f.site, f.node("pic.gif"));
    EXPECT_TRUE(f.host.validLinks.empty()) << "an image has no links of its own";
    ASSERT_EQ(f.host.referrers.size(), 2u);
    std::map<std::string, ReferrerRow> rows;
    for (const ReferrerRow &row : f.host.referrers)
        rows[row.shownPage] = row;
    ASSERT_EQ(rows.count("sub/deep.html"), 1u);
    EXPECT_EQ(rows["sub/deep.html"].page, f.dir.path() + "sub/deep.html");
    EXPECT_EQ(rows["sub/deep.html"].link, "../pic.gif");
    EXPECT_EQ(rows["sub/deep.html"].state, ReferrerState::unreached);
    EXPECT_EQ(rows["index.html"].line, 3u);
    EXPECT_EQ(f.host.orphanReason, OrphanReason::none);

    ShowLinkLists(f.site, f.node("orphan2.html"));
    EXPECT_EQ(f.host.orphanReason, OrphanReason::onlyOrphanedReferrers);
    ASSERT_EQ(f.host.referrers.size(), 1u);
    EXPECT_EQ(f.host.referrers[0].shownPage, "lonely.html");
    ShowLinkLists(f.site, f.node("sub"));
    EXPECT_TRUE(f.host.referrers.empty()) << "a folder shows nothing";
    EXPECT_EQ(f.host.orphanReason, OrphanReason::none);
}

} // namespace
} // namespace orvane
