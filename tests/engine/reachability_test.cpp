#include "base/strutil.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/reachability.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvane {
namespace {

using test::SiteFixture;

void markTop(SiteFixture &f, const std::string &relative)
{
    f.project.AddTopFile(f.dir.path() + relative);
}

TEST(Reachability, NoTopPageLeavesEverythingUnreachedAndEveryFolderCyan)
{
    SiteFixture f;
    f.dir.write("a.html", "<a href=b/c.html></a>");
    f.dir.write("b/c.html", "");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_EQ(f.orphans(), (std::vector<std::string>{"b/c.html", "a.html"}));
    EXPECT_EQ(f.node("b")->ImageIndex(), ImgFolderCyan);
    EXPECT_EQ(f.site.tree.Root()->ImageIndex(), ImgHome) << "the root is never recoloured";
}

TEST(Reachability, WalksValidLinksFromTheTopPages)
{
    SiteFixture f;
    f.dir.write("index.html", "<a href=a.html></a><img src=pic.gif>");
    f.dir.write("a.html", "<a href=b.html></a><a href=index.html></a>");
    f.dir.write("b.html", "<a href=a.html></a>");
    f.dir.write("pic.gif", "");
    f.dir.write("lonely.html", "<a href=only-from-lonely.html></a>");
    f.dir.write("only-from-lonely.html", "");
    f.dir.write("sub/orphan.png", "");
    f.dir.write("tidy/t.gif", "");
    f.dir.write("tidy.html", "<img src=tidy/t.gif>");
    f.dir.write("index2.html", "<a href=tidy.html></a>");
    markTop(f, "index.html");
    markTop(f, "index2.html");
    CheckFolder(f.site, f.dir.path(), true);

    EXPECT_EQ(f.orphans(),
              (std::vector<std::string>{"sub/orphan.png", "lonely.html", "only-from-lonely.html"}));
    EXPECT_EQ(f.object("index.html")->ReachState, ReachState::top);
    EXPECT_EQ(f.node("index.html")->StateIndex(), ImgTopPage);
    EXPECT_EQ(f.object("b.html")->ReachState, ReachState::reached);
    EXPECT_EQ(f.node("b.html")->StateIndex(), ImgReached);
    EXPECT_EQ(f.node("lonely.html")->StateIndex(), ImgUnreached);
    EXPECT_EQ(f.node("sub")->ImageIndex(), ImgFolderCyan);
    EXPECT_EQ(f.node("sub")->SelectedIndex(), ImgFolderCyanOpen);
    EXPECT_EQ(f.node("tidy")->ImageIndex(), ImgFolderYellow);
    EXPECT_EQ(f.node("tidy")->SelectedIndex(), ImgFolderYellowOpen);
    EXPECT_EQ(f.site.tree.Selected(), f.site.tree.Root());
}

TEST(Reachability, ExcludedPagesAreNotWalkedThroughOnceMarked)
{
    SiteFixture f;
    f.dir.write("index.html", "<a href=gate.html></a>");
    f.dir.write("gate.html", "<a href=behind.html></a>");
    f.dir.write("behind.html", "");
    markTop(f, "index.html");
    f.project.AddIgnoreFile(f.dir.path() + "gate.html");
    CheckFolder(f.site, f.dir.path(), true);
    // In the first analysis after a scan nothing is marked excluded yet.
    EXPECT_TRUE(f.orphans().empty());
    EXPECT_TRUE(f.object("gate.html")->Ignored);
    EXPECT_EQ(f.node("gate.html")->OverlayIndex(), OverlayExcluded);
    EXPECT_EQ(f.node("gate.html")->StateIndex(), ImgReached);

    // A fresh walk honours the exclusion.
    for (size_t i = 0; i < f.site.FileObjects.size(); ++i)
        f.site.FileObjects[i]->SetReachState(ReachState::unreached);
    AnalyseReachability(f.site);
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"behind.html"});
}

TEST(Reachability, AnchorsAreReferencedOnlyFromWalkedPages)
{
    SiteFixture f;
    f.dir.write("index.html", "<a href=target.html#used></a>");
    f.dir.write("target.html", "<a name=used></a><a name=unused></a>");
    f.dir.write("lonely.html", "<a href=other.html#mark></a>");
    f.dir.write("sub/other.html", "");
    f.dir.write("other.html", "<a name=mark></a>");
    markTop(f, "index.html");
    CheckFolder(f.site, f.dir.path(), true);
    const TreeNode *target = f.node("target.html");
    ASSERT_EQ(target->Count(), 2u);
    EXPECT_EQ(target->Child(0)->Text(), "unused");
    EXPECT_EQ(target->Child(0)->StateIndex(), ImgUnreached);
    EXPECT_EQ(target->Child(1)->StateIndex(), ImgReached);
    EXPECT_TRUE(f.object("target.html")->Blue) << "an unreferenced anchor makes the page blue";
    EXPECT_EQ(f.node("other.html")->Child(0)->StateIndex(), ImgUnreached);

    SiteFixture plain;
    plain.settings.AnchorMakesFileBlue = false;
    plain.dir.write("index.html", "<a href=target.html#used></a>");
    plain.dir.write("sub/target.html", "<a name=used></a><a name=unused></a>");
    plain.dir.write("target.html", "<a name=used></a><a name=unused></a>");
    plain.project.AddTopFile(plain.dir.path() + "index.html");
    plain.project.AddTopFile(plain.dir.path() + "sub/target.html");
    CheckFolder(plain.site, plain.dir.path(), true);
    EXPECT_FALSE(plain.object("target.html")->Blue);
    EXPECT_EQ(plain.node("sub")->ImageIndex(), ImgFolderYellow);
}

TEST(Reachability, BluePagesColourTheirFoldersUpToTheRoot)
{
    SiteFixture f;
    f.dir.write("index.html", "<a href=a/b/c/bad.html></a><a href=side/ok.html></a>");
    f.dir.write("a/b/c/bad.html", "<a href=missing.html></a>");
    f.dir.write("side/ok.html", "");
    markTop(f, "index.html");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_TRUE(f.orphans().empty());
    for (const char *folder : {"a", "a/b", "a/b/c"})
        EXPECT_EQ(f.node(folder)->ImageIndex(), ImgFolderCyan) << folder;
    EXPECT_EQ(f.node("side")->ImageIndex(), ImgFolderYellow);
}

TEST(Reachability, TopPagesMissingFromTheTreeAreDropped)
{
    SiteFixture f;
    f.dir.write("index.html", "");
    f.dir.write("logo.gif", "");
    markTop(f, "gone.html");
    markTop(f, "logo.gif");
    f.project.AddIgnoreFile(f.dir.path() + "gone-too.html");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_EQ(f.project.TopFiles(),
              std::vector<std::string>{AsciiUpper(f.dir.path() + "logo.gif")});
    EXPECT_TRUE(f.project.IgnoreFiles().empty());
    EXPECT_EQ(f.view.topFiles.items(), f.project.TopFiles());
    EXPECT_EQ(f.object("logo.gif")->ReachState, ReachState::top);
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"index.html"});
}

TEST(Reachability, MarkTopAndAnalyseMakesThePageTopAndIncludesIt)
{
    SiteFixture f;
    f.dir.write("index.html", "<a href=a.html></a>");
    f.dir.write("a.html", "");
    f.dir.write("b.html", "");
    f.project.AddIgnoreFile(f.dir.path() + "index.html");
    CheckFolder(f.site, f.dir.path(), true);
    MarkTopAndAnalyse(f.site, f.node("index.html"));
    EXPECT_EQ(f.project.TopFiles(),
              std::vector<std::string>{AsciiUpper(f.dir.path() + "index.html")});
    EXPECT_TRUE(f.project.IgnoreFiles().empty());
    EXPECT_FALSE(f.object("index.html")->Ignored);
    EXPECT_EQ(f.object("index.html")->ReachState, ReachState::top);
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"b.html"});
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(Reachability, HaltStopsTheWalkButImagesAreStillUpdated)
{
    SiteFixture f;
    f.dir.write("index.html", "<a href=a.html></a>");
    f.dir.write("a.html", "<a href=b.html></a>");
    f.dir.write("b.html", "");
    markTop(f, "index.html");
    CheckFolder(f.site, f.dir.path(), false);
    f.site.BeginBusy(); // the halt lasts while an outer command runs
    f.site.HaltRequested = true;
    AnalyseReachability(f.site);
    EXPECT_EQ(f.project.TopFiles().size(), 1u) << "the top pages are not even looked at";
    EXPECT_EQ(f.orphans().size(), 3u);
    f.site.EndBusy();
}

TEST(Reachability, LongChainsNeedNoDeepRecursion)
{
    SiteFixture f;
    const int pages = 3000;
    for (int i = 0; i < pages; ++i)
        f.dir.write("p" + std::to_string(i) + ".html",
                    "<a href=p" + std::to_string(i + 1) + ".html></a>");
    f.settings.HideInfoBoxAfterCheck = true;
    markTop(f, "p0.html");
    CheckFolder(f.site, f.dir.path(), true);
    EXPECT_TRUE(f.orphans().empty());
    EXPECT_EQ(f.object("p2999.html")->ReachState, ReachState::reached);
    EXPECT_EQ(f.object("p2999.html")->InvalidLinks.size(), 1u);
}

} // namespace
} // namespace orvane

namespace orvane {
namespace {

struct Marks
{
    std::vector<ReachState> files;
    std::vector<int> anchors;
    bool operator==(const Marks &) const = default;
};

Marks marksOf(const Site &site)
{
    Marks m;
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        const FileObject *o = site.FileObjects[i];
        m.files.push_back(o->ReachState);
        for (size_t k = 0; k < o->Node->Count(); ++k)
            m.anchors.push_back(o->Node->Child(k)->StateIndex());
    }
    return m;
}

void resetMarks(Site &site)
{
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        FileObject *o = site.FileObjects[i];
        o->SetReachState(ReachState::unreached);
        for (size_t k = 0; k < o->Node->Count(); ++k)
            o->Node->Child(k)->SetStateIndex(ImgUnreached);
    }
}

TEST(Reachability, WalkWithResolvedTargetsMatchesResolvingAfresh)
{
    std::mt19937 random(11);
    for (int round = 0; round < 6; ++round) {
        SiteFixture f;
        f.settings.HideInfoBoxAfterCheck = true;
        f.settings.IgnoreCase = round % 2 == 1;
        const int pages = 60;
        auto name = [](int i) {
            return "d" + std::to_string(i % 3) + "/p" + std::to_string(i) + ".html";
        };
        for (int i = 0; i < pages; ++i) {
            std::string html = "<a name=a" + std::to_string(i % 4) + ">";
            for (int l = 0; l < 5; ++l) {
                const int t = static_cast<int>(random() % (pages + 5));
                std::string link = "/" + name(t);
                if (random() % 3 == 0)
                    link = AsciiUpper(link);
                if (random() % 2 == 0)
                    link += "#a" + std::to_string(random() % 6);
                html += "<a href=\"" + link + "\">";
            }
            f.dir.write(name(i), html);
        }
        f.project.SetServerRoot(f.dir.path());
        f.project.AddTopFile(f.dir.path() + name(0));
        f.project.AddTopFile(f.dir.path() + name(7));
        CheckFolder(f.site, f.dir.path(), true);
        const Marks cached = marksOf(f.site);

        // Any change of what resolution depends on makes the walk resolve afresh.
        resetMarks(f.site);
        f.project.SetServerRoot("/elsewhere");
        f.project.SetServerRoot(f.dir.path());
        AnalyseReachability(f.site);
        EXPECT_EQ(marksOf(f.site), cached) << "round " << round;
        EXPECT_FALSE(f.orphans().empty()) << "round " << round;
    }
}

/// A site of pages with one anchor and one id each, linking at random to
/// pages (some missing), their anchors, ids, "#top" and fragments that name
/// nothing, a few of them excluded; and what a walk from its top pages must
/// reach and mark, worked out from the same links by following every valid
/// one.
struct RandomWalkSite
{
    struct Link
    {
        int target;
        bool valid;
        bool marksAnchor;
    };

    static std::string name(int i)
    {
        return "d" + std::to_string(i % 3) + "/p" + std::to_string(i) + ".html";
    }

    RandomWalkSite(SiteFixture &f, int pages, std::mt19937 &random)
        : links(pages)
        , excluded(pages, false)
        , reached(pages, false)
        , marked(pages, false)
    {
        for (int i = 0; i < pages; ++i) {
            std::string html =
                "<a name=a" + std::to_string(i % 4) + "></a><p id=x" + std::to_string(i % 5) + ">";
            const int count = 1 + static_cast<int>(random() % 14);
            for (int l = 0; l < count; ++l)
                html += "<a href=\"" + addLink(i, pages, random) + "\">";
            f.dir.write(name(i), html);
        }
        tops = {0, pages / 2};
        for (int i = 3; i < pages; i += 9)
            excluded[i] = i != tops[1];
        followByHand();
        for (int top : tops)
            f.project.AddTopFile(f.dir.path() + name(top));
        for (int i = 0; i < pages; ++i)
            if (excluded[i])
                f.project.AddIgnoreFile(f.dir.path() + name(i));
    }

    std::string addLink(int page, int pages, std::mt19937 &random)
    {
        const int t = static_cast<int>(random() % (pages + 3));
        std::string link = "../" + name(t);
        bool valid = t < pages;
        bool marks = false;
        switch (random() % 5) {
        case 0: {
            const int k = static_cast<int>(random() % 6);
            link += "#a" + std::to_string(k);
            valid = valid && k == t % 4;
            marks = valid;
            break;
        }
        case 1: {
            const int k = static_cast<int>(random() % 7);
            link += "#x" + std::to_string(k);
            valid = valid && k == t % 5;
            break;
        }
        case 2:
            link += "#top";
            break;
        default:
            break;
        }
        links[page].push_back({t, valid, marks});
        return link;
    }

    void followByHand()
    {
        std::vector<int> toWalk = tops;
        for (int top : tops)
            reached[top] = true;
        while (!toWalk.empty()) {
            const int page = toWalk.back();
            toWalk.pop_back();
            for (const Link &link : links[page]) {
                if (!link.valid || excluded[link.target])
                    continue;
                marked[link.target] = marked[link.target] || link.marksAnchor;
                if (!reached[link.target]) {
                    reached[link.target] = true;
                    toWalk.push_back(link.target);
                }
            }
        }
    }

    void expectMarks(const SiteFixture &f, const std::string &what) const
    {
        for (size_t i = 0; i < links.size(); ++i) {
            const int n = static_cast<int>(i);
            const FileObject *page = f.object(name(n));
            ASSERT_NE(page, nullptr);
            const bool top = std::find(tops.begin(), tops.end(), n) != tops.end();
            const ReachState state = top                         ? ReachState::top
                                     : reached[i] || excluded[i] ? ReachState::reached
                                                                 : ReachState::unreached;
            EXPECT_EQ(page->ReachState, state) << name(n) << ", " << what;
            ASSERT_EQ(page->Node->Count(), 1u);
            EXPECT_EQ(page->Node->Child(0)->StateIndex(), marked[i] ? ImgReached : ImgUnreached)
                << name(n) << ", " << what;
        }
    }

    std::vector<std::vector<Link>> links;
    std::vector<int> tops;
    std::vector<bool> excluded;
    std::vector<bool> reached;
    std::vector<bool> marked;
};

TEST(Reachability, TheWalkReachesAndMarksWhatFollowingEveryValidLinkByHandDoes)
{
    std::mt19937 random(5);
    for (int round = 0; round < 8; ++round) {
        SiteFixture f;
        f.settings.HideInfoBoxAfterCheck = true;
        // The last round has more pages than the walk follows on one thread.
        const RandomWalkSite site(f, round < 7 ? 40 + 10 * round : 2500, random);
        CheckFolder(f.site, f.dir.path(), true);
        // The first analysis after a scan marks the exclusions; the next ones
        // walk around them, with the targets kept by classification and
        // with every link resolved afresh.
        resetMarks(f.site);
        AnalyseReachability(f.site);
        site.expectMarks(f, "round " + std::to_string(round));
        resetMarks(f.site);
        f.project.SetServerRoot("/elsewhere");
        AnalyseReachability(f.site);
        site.expectMarks(f, "resolved afresh, round " + std::to_string(round));
    }
}

TEST(Reachability, WalkTargetsKeptPerLinkGiveTheTargetAndItsAnchorBack)
{
    SiteFixture f;
    // Valid links to a page, to each of its two anchors, to an id (no anchor
    // node), to an image and to the page itself.
    f.dir.write("a.html", "<a href=b.html></a><a href=b.html#two></a><a href=b.html#one></a>"
                          "<a href=b.html#idonly></a><img src=p.gif><a href=#self></a>"
                          "<a name=self></a>");
    f.dir.write("b.html", "<a name=one></a><a name=two></a><p id=idonly>");
    f.dir.write("p.gif", "");
    CheckFolder(f.site, f.dir.path(), false);
    FileObject *a = f.object("a.html");
    FileObject *b = f.object("b.html");
    const WalkTargetList *targets = a->WalkTargets(f.site.ResolutionStamp());
    ASSERT_NE(targets, nullptr);
    ASSERT_EQ(targets->size(), a->ValidLinks.size());
    ASSERT_EQ(a->ValidLinks.size(), 6u);
    for (size_t i = 0; i < targets->size(); ++i) {
        const WalkTarget kept = (*targets)[i];
        const WalkTarget fresh = a->ResolveWalkTarget(a->ValidLinks.BaseIndex(i));
        EXPECT_EQ(kept.object, fresh.object) << a->ValidLinks[i];
        EXPECT_EQ(kept.anchorIndex, fresh.anchorIndex) << a->ValidLinks[i];
        EXPECT_EQ(kept.anchorNode, fresh.anchorNode) << a->ValidLinks[i];
    }
    const auto targetOf = [&](std::string_view link) {
        for (size_t i = 0; i < a->ValidLinks.size(); ++i)
            if (a->ValidLinks[i] == link)
                return (*targets)[i];
        ADD_FAILURE() << link;
        return WalkTarget{nullptr, -1};
    };
    EXPECT_EQ(targetOf("b.html#two").object, b);
    EXPECT_EQ(targetOf("b.html#two").anchorIndex, 1);
    ASSERT_NE(f.node("b.html/two"), nullptr);
    EXPECT_EQ(targetOf("b.html#two").anchorNode, f.node("b.html/two"));
    EXPECT_EQ(targetOf("b.html#one").anchorIndex, 0);
    EXPECT_EQ(targetOf("b.html#one").anchorNode, f.node("b.html/one"));
    EXPECT_EQ(targetOf("b.html#idonly").object, b);
    EXPECT_EQ(targetOf("b.html#idonly").anchorIndex, -1);
    EXPECT_EQ(targetOf("b.html#idonly").anchorNode, nullptr);
    EXPECT_EQ(targetOf("b.html").anchorNode, nullptr);
    EXPECT_EQ(targetOf("p.gif").object, f.object("p.gif"));
    EXPECT_EQ(targetOf("#self").object, a);
    EXPECT_EQ(targetOf("#self").anchorIndex, 0);
    EXPECT_EQ(targetOf("#self").anchorNode, f.node("a.html/self"));

    f.dir.write("c.html", "");
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(f.object("a.html")->WalkTargets(f.site.ResolutionStamp() + 1), nullptr)
        << "targets of another resolution are not handed out";
}

} // namespace
} // namespace orvane
