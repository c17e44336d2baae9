#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/idset.h"
#include "engine/linkhints.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <optional>
#include <random>
#include <thread>

namespace orvane {
namespace {

using test::SiteFixture;

/// The hint of one invalid link of a page, as (kind, suggested link).
std::optional<std::pair<HintKind, std::string>> hintOf(SiteFixture &f, const std::string &page,
                                                       const std::string &link)
{
    const FileObject *object = f.object(page);
    EXPECT_NE(object, nullptr) << page;
    if (!object)
        return std::nullopt;
    bool invalid = false;
    for (size_t i = 0; i < object->InvalidLinks.size(); ++i)
        invalid = invalid || object->InvalidLinks[i] == link;
    EXPECT_TRUE(invalid) << link << " is no invalid link of " << page;
    const auto hint = f.site.Hints().ForLink(*object, link);
    if (!hint)
        return std::nullopt;
    return std::make_pair(hint->kind, hint->link);
}

std::string pageOf(const std::vector<std::string> &links)
{
    std::string html;
    for (const std::string &link : links)
        html += "<a href=\"" + link + "\">x</a>\n";
    return html;
}

TEST(LinkHints, MissingFilesSuggestTheCaseOrTheOneFileOfThatName)
{
    SiteFixture f;
    f.dir.write("sub/page.html", "");
    f.dir.write("img/logo.gif", "");
    f.dir.write("media/photo.jpg", "");
    f.dir.write("new/moved.html", "<a name=s1></a>");
    f.dir.write("a/dup.html", "");
    f.dir.write("b/dup.html", "");
    f.dir.write("index.html",
                pageOf({"Sub/Page.HTML", "old/photo.jpg", "gone/moved.html#s1?",
                        "gone/moved.html?q=1#s1", "x/dup.html", "nothing.html",
                        "file:///nowhere/photo.jpg", "http:Sub/page.html", "sub/./Page.html"}));
    f.dir.write("my dir/Notes.html", "");
    f.dir.write("a/x.html", pageOf({"../IMG/Logo.gif", "photo.jpg", "../a/../Sub/page.html",
                                    "../My%20Dir/notes.html"}));
    CheckFolder(f.site, f.dir.path(), false);

    using H = std::pair<HintKind, std::string>;
    EXPECT_EQ(hintOf(f, "index.html", "Sub/Page.HTML"), H(HintKind::letterCase, "sub/page.html"));
    EXPECT_EQ(hintOf(f, "index.html", "http:Sub/page.html"),
              H(HintKind::letterCase, "http:sub/page.html"));
    EXPECT_EQ(hintOf(f, "index.html", "sub/./Page.html"),
              H(HintKind::letterCase, "sub/./page.html"));
    EXPECT_EQ(hintOf(f, "a/x.html", "../IMG/Logo.gif"), H(HintKind::letterCase, "../img/logo.gif"));
    // A name before ".." says nothing about the target's: only what follows
    // the last ".." is put right.
    EXPECT_EQ(hintOf(f, "a/x.html", "../a/../Sub/page.html"),
              H(HintKind::letterCase, "../a/../sub/page.html"));

    // An escaped name cannot be put right in place: the link is written afresh.
    EXPECT_EQ(hintOf(f, "a/x.html", "../My%20Dir/notes.html"),
              H(HintKind::letterCase, "../my dir/Notes.html"));

    EXPECT_EQ(hintOf(f, "index.html", "old/photo.jpg"), H(HintKind::moved, "media/photo.jpg"));
    EXPECT_EQ(hintOf(f, "a/x.html", "photo.jpg"), H(HintKind::moved, "../media/photo.jpg"));
    EXPECT_EQ(hintOf(f, "index.html", "gone/moved.html?q=1#s1"),
              H(HintKind::moved, "new/moved.html?q=1#s1"))
        << "query and fragment stay";
    EXPECT_EQ(hintOf(f, "index.html", "x/dup.html"), std::nullopt) << "two files of that name";
    EXPECT_EQ(hintOf(f, "index.html", "nothing.html"), std::nullopt);
    EXPECT_EQ(hintOf(f, "index.html", "file:///nowhere/photo.jpg"), std::nullopt);

    // Where letter case does not count, such a link is valid and needs no hint.
    f.settings.IgnoreCase = true;
    RecheckLinks(f.site);
    EXPECT_TRUE(f.object("index.html")->ValidLinks.size() >= 2u);
    EXPECT_EQ(f.site.Hints().ForLink(*f.object("index.html"), "Sub/Page.HTML"), std::nullopt);
}

TEST(LinkHints, MissingAnchorsSuggestTheOneCloseAnchorOrId)
{
    SiteFixture f;
    f.dir.write("a.html", "<a name=section></a><div id=Intro></div><a name=s1></a><a name=s2>"
                          "<p id=summary-table><p id=ovERview><a name=OVERVIEW>");
    f.dir.write("index.html", pageOf({"a.html#sectoin", "a.html#intr", "a.html#s3", "a.html#gone",
                                      "a.html#SUMMARY-TABEL", "#introduction", "a.html#overveiw"}));
    CheckFolder(f.site, f.dir.path(), false);
    using H = std::pair<HintKind, std::string>;
    EXPECT_EQ(hintOf(f, "index.html", "a.html#sectoin"), H(HintKind::anchor, "a.html#section"));
    EXPECT_EQ(hintOf(f, "index.html", "a.html#intr"), H(HintKind::anchor, "a.html#Intro"))
        << "an id, written as the page writes it";
    EXPECT_EQ(hintOf(f, "index.html", "a.html#SUMMARY-TABEL"),
              H(HintKind::anchor, "a.html#summary-table"));
    EXPECT_EQ(hintOf(f, "index.html", "a.html#s3"), std::nullopt) << "s1 and s2 are both close";
    EXPECT_EQ(hintOf(f, "index.html", "a.html#gone"), std::nullopt) << "nothing close";
    EXPECT_EQ(hintOf(f, "index.html", "#introduction"), std::nullopt);
    EXPECT_EQ(hintOf(f, "index.html", "a.html#overveiw"), H(HintKind::anchor, "a.html#OVERVIEW"))
        << "an anchor and an id equal without case are one name; the anchor's form is given";

    const auto hint = f.site.Hints().ForLink(*f.object("index.html"), "a.html#intr");
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->name, "Intro");
}

TEST(LinkHints, AnswersKeptForALongTargetServeEveryPageWithItsOwnLink)
{
    // A target of many names: its names are grouped once and each fragment's
    // answer is kept, but every page still gets the link as it wrote it.
    SiteFixture f;
    std::string names;
    for (int i = 0; i < 80; ++i)
        names += "<p id=item" + std::to_string(i * 1000) + ">";
    f.dir.write("ref/long.html", names + "<a name=Section><p id=summary>");
    const std::vector<std::string> broken = {"#item1OO0", "#sectoin", "#item20", "#sumary"};
    std::vector<std::string> top, deep;
    for (const std::string &fragment : broken) {
        top.push_back("ref/long.html" + fragment);
        deep.push_back("../../ref/long.html" + fragment);
    }
    f.dir.write("index.html", pageOf(top));
    f.dir.write("a/b/page.html", pageOf(deep));
    CheckFolder(f.site, f.dir.path(), false);
    using H = std::pair<HintKind, std::string>;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(hintOf(f, "index.html", "ref/long.html#item1OO0"),
                  H(HintKind::anchor, "ref/long.html#item1000"));
        EXPECT_EQ(hintOf(f, "a/b/page.html", "../../ref/long.html#item1OO0"),
                  H(HintKind::anchor, "../../ref/long.html#item1000"));
        EXPECT_EQ(hintOf(f, "a/b/page.html", "../../ref/long.html#sectoin"),
                  H(HintKind::anchor, "../../ref/long.html#Section"));
        EXPECT_EQ(hintOf(f, "index.html", "ref/long.html#item20"), std::nullopt)
            << "item0 and item2000 are both within two edits";
        EXPECT_EQ(hintOf(f, "index.html", "ref/long.html#sumary"),
                  H(HintKind::anchor, "ref/long.html#summary"));
        EXPECT_EQ(hintOf(f, "a/b/page.html", "../../ref/long.html#sumary"),
                  H(HintKind::anchor, "../../ref/long.html#summary"));
    }
}

TEST(LinkHints, ThreadsAskingAtOnceGetWhatOneThreadGets)
{
    // Reports ask for hints from several threads; the answers kept for a
    // long target are shared between them.
    const std::vector<std::string> words = {"alpha",   "bravo", "charlie", "delta", "echo",
                                            "foxtrot", "golf",  "hotel",   "india", "juliet"};
    const std::vector<std::string> typos = {"alpah",  "bravvo", "charli", "delat", "ecko",
                                            "foxtrt", "gofl",   "hotle",  "indai", "julite"};
    const auto hintsOf = [&](unsigned threads) {
        SiteFixture f;
        std::string names;
        for (int i = 0; i < 70; ++i)
            names += "<p id=filler-" + std::to_string(i) + ">";
        for (const std::string &word : words)
            names += "<a name=" + word + ">";
        f.dir.write("long.html", names);
        for (int p = 0; p < 8; ++p) {
            std::vector<std::string> links;
            for (size_t i = 0; i < typos.size(); ++i)
                links.push_back("long.html#" + typos[(i + p) % typos.size()] +
                                std::string(p % 3 ? "" : "x"));
            f.dir.write("p" + std::to_string(p) + ".html", pageOf(links));
        }
        CheckFolder(f.site, f.dir.path(), false);
        std::vector<const FileObject *> pages;
        for (int p = 0; p < 8; ++p)
            pages.push_back(f.object("p" + std::to_string(p) + ".html"));
        std::vector<std::vector<std::string>> hints(pages.size());
        // Made once, as a report does before its threads start.
        const LinkHints &shared = f.site.Hints();
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                // Every thread asks for every link, in its own order; the
                // first thread keeps what it got.
                for (size_t k = 0; k < pages.size(); ++k) {
                    const size_t p = (k + t * 3) % pages.size();
                    for (size_t i = 0; i < pages[p]->InvalidLinks.size(); ++i) {
                        const auto hint = shared.For(*pages[p], i);
                        if (t == 0)
                            hints[p].push_back(hint ? hint->link : "-");
                    }
                }
            });
        for (std::thread &worker : workers)
            worker.join();
        return hints;
    };
    const auto alone = hintsOf(1);
    ASSERT_EQ(alone[1].size(), typos.size());
    for (size_t i = 0; i < typos.size(); ++i)
        EXPECT_EQ(alone[1][i], "long.html#" + words[i]) << typos[i];
    EXPECT_EQ(alone[0][0], "long.html#alpha") << "alpahx is two edits away";
    EXPECT_EQ(hintsOf(4), alone);
}

TEST(LinkHints, ShownBesideTheInvalidLinks)
{
    SiteFixture f;
    f.dir.write("Photo.jpg", "");
    f.dir.write("index.html", pageOf({"photo.jpg", "none.jpg"}));
    CheckFolder(f.site, f.dir.path(), false);
    ShowLinkLists(f.site, f.node("index.html"));
    EXPECT_EQ(f.host.invalidLinks, (std::vector<std::string>{"none.jpg", "photo.jpg"}));
    EXPECT_EQ(f.host.invalidHints,
              (std::vector<std::pair<std::string, std::string>>{{"photo.jpg", "Photo.jpg"}}));
}

TEST(LinkHints, EditDistanceAndRelativeLinks)
{
    EXPECT_EQ(EditDistanceWithin("section", "section", 2), 0u);
    EXPECT_EQ(EditDistanceWithin("Section", "SECTION", 2), 0u) << "without case";
    EXPECT_EQ(EditDistanceWithin("sectoin", "section", 2), 2u);
    EXPECT_EQ(EditDistanceWithin("sect", "section", 2), 3u) << "capped at limit + 1";
    EXPECT_EQ(EditDistanceWithin("", "ab", 2), 2u);
    EXPECT_EQ(EditDistanceWithin("abc", "xbz", 1), 2u);
    EXPECT_EQ(EditDistanceWithin("kitten", "sitting", 3), 3u);

    EXPECT_EQ(RelativeLink("/s/index.html", "/s/a/b.html"), "a/b.html");
    EXPECT_EQ(RelativeLink("/s/a/x.html", "/s/b/y.html"), "../b/y.html");
    EXPECT_EQ(RelativeLink("/s/a/b/x.html", "/s/y.html"), "../../y.html");
    EXPECT_EQ(RelativeLink("/s/ab/x.html", "/s/a/y.html"), "../a/y.html")
        << "folders are compared whole";
}

/// The whole distance table, without case: the oracle for the banded one.
size_t fullEditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j)
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1,
                 d[i - 1][j - 1] + (std::toupper(a[i - 1]) == std::toupper(b[j - 1]) ? 0 : 1)});
    return d[a.size()][b.size()];
}

TEST(LinkHints, EditDistanceAgreesWithTheWholeTable)
{
    // Short texts of few letters come near each other often; long ones take
    // the column off the stack.
    std::mt19937 random(11);
    const auto text = [&](size_t most) {
        std::string t(random() % (most + 1), ' ');
        for (char &c : t)
            c = "abAB-"[random() % 5];
        return t;
    };
    for (int k = 0; k < 20000; ++k) {
        const size_t most = k % 100 == 0 ? 90 : 9;
        const std::string a = text(most);
        const std::string b = k % 3 == 0 ? a + text(2) : text(most);
        const size_t limit = random() % 4;
        ASSERT_EQ(EditDistanceWithin(a, b, limit), std::min(fullEditDistance(a, b), limit + 1))
            << '"' << a << "\" / \"" << b << "\" within " << limit;
    }
}

TEST(LinkHints, TheNearNameIsTheOneThatLookingAtEveryNameFinds)
{
    // Names are looked at only among lengths within two of the fragment's and
    // sets of letters within two of its own; the answer must be the one that
    // measuring the distance to every name gives. Short texts over few
    // characters come within two edits of each other often.
    std::mt19937 random(5);
    const auto randomText = [&](size_t longest) {
        std::string text(1 + random() % longest, ' ');
        for (char &c : text)
            c = "ab1-"[random() % 4];
        return text;
    };
    for (const size_t nameCount : {20, 150}) { // a target gone through afresh, and a kept one
        SiteFixture f;
        std::vector<std::string> names;
        std::string target;
        while (names.size() < nameCount) {
            const std::string name = randomText(9);
            if (std::find(names.begin(), names.end(), name) != names.end())
                continue;
            names.push_back(name);
            target += (names.size() % 3 == 0 ? "<a name=" : "<p id=") + name + ">\n";
        }
        f.dir.write("t.html", target);
        std::vector<std::string> fragments;
        while (fragments.size() < 300) {
            const std::string fragment = randomText(11);
            if (std::find(names.begin(), names.end(), fragment) == names.end() &&
                std::find(fragments.begin(), fragments.end(), fragment) == fragments.end())
                fragments.push_back(fragment);
        }
        std::vector<std::string> links;
        for (const std::string &fragment : fragments)
            links.push_back("t.html#" + fragment);
        f.dir.write("index.html", pageOf(links));
        CheckFolder(f.site, f.dir.path(), false);
        int hinted = 0;
        for (const std::string &fragment : fragments) {
            std::vector<std::string> near;
            for (const std::string &name : names) {
                if (EditDistanceWithin(fragment, name, 2) <= 2)
                    near.push_back(name);
            }
            const auto hint = hintOf(f, "index.html", "t.html#" + fragment);
            if (near.size() == 1) {
                ++hinted;
                EXPECT_EQ(hint, std::make_pair(HintKind::anchor, "t.html#" + near[0])) << fragment;
            } else {
                EXPECT_EQ(hint, std::nullopt) << fragment << ": " << near.size() << " near";
            }
        }
        EXPECT_GT(hinted, 20) << "the fragments must come near one name often";
    }
}

TEST(IdSet, KeepsTheTextOfEachIdOnce)
{
    IdSet ids;
    ids.Add("Intro");
    ids.AddAll("introsummaryx", {5, 12, 13});
    EXPECT_EQ(ids.size(), 3u);
    EXPECT_TRUE(ids.Contains("INTRO"));
    std::vector<std::string> texts;
    ids.ForEachText([&](std::string_view text) { texts.emplace_back(text); });
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"Intro", "summary", "x"})) << "the first one stays";
}

TEST(LinkHints, LettersNeverRuleOutANameWithinTwoEdits)
{
    // The letter filter may only pass over names that are more than two edits
    // away: each letter one text has and the other lacks costs an edit.
    std::mt19937 random(7);
    const std::string alphabet = "aAbB01-_.~z";
    const auto randomText = [&] {
        std::string text(random() % 7, ' ');
        for (char &c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    int near = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string a = randomText();
        std::string b = a;
        for (int edits = random() % 4; edits > 0; --edits) {
            const size_t at = b.empty() ? 0 : random() % (b.size() + 1);
            switch (random() % 3) {
            case 0:
                b.insert(at, 1, alphabet[random() % alphabet.size()]);
                break;
            case 1:
                if (at < b.size())
                    b.erase(at, 1);
                break;
            default:
                if (at < b.size())
                    b[at] = alphabet[random() % alphabet.size()];
            }
        }
        if (EditDistanceWithin(a, b, 2) > 2)
            continue;
        ++near;
        ASSERT_LE(std::popcount(LettersOf(a) & ~LettersOf(b)), 2) << a << " / " << b;
        ASSERT_LE(std::popcount(LettersOf(b) & ~LettersOf(a)), 2) << a << " / " << b;
    }
    EXPECT_GT(near, 1000);
    EXPECT_EQ(LettersOf("ab"), LettersOf("BA"));
    EXPECT_GT(std::popcount(LettersOf("88-90") & ~LettersOf("1234")), 2);
}

} // namespace
} // namespace orvane
