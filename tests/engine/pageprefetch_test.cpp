// Pages read ahead on worker threads must give exactly what reading each page
// when its file object is made gives: the same lists, messages, events and
// halts, whatever the timing of the workers.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/pageprefetch.h"
#include "engine/parallelfor.h"
#include "engine/readfileall.h"
#include "support/recordinghost.h"
#include "support/sitefixture.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace orvane {
namespace {

using test::SiteFixture;

std::string randomPage(std::mt19937 &random, int pages)
{
    static const char *const pieces[] = {
        "<a href=\"p%.html\">x</a>",         "<A HREF=P%.HTML>",
        "<img src=\"img/%.png\">",           "<a name=n%>",
        "<!-- <a href=c%.html> -->",         "<a href=\"p%.html#n1\">",
        "<a href='javascript:go(%)'>",       "<a href=\"a b%.html\">",
        "<meta content=\"0; URL=p%.html\">", "text\r\n",
        "<a href=\"http://example.org/%\">", "<!-- open",
    };
    std::string html;
    const int count = static_cast<int>(random() % 30);
    for (int i = 0; i < count; ++i) {
        std::string piece = pieces[random() % std::size(pieces)];
        const size_t mark = piece.find('%');
        if (mark != std::string::npos)
            piece.replace(mark, 1, std::to_string(random() % (pages + 3)));
        html += piece;
    }
    return html;
}

/// What a finished check leaves behind, page by page.
struct Outcome
{
    std::vector<std::string> files;
    std::vector<std::vector<std::string>> links, anchors, valid, invalid, external;
    std::vector<std::string> orphans;
    std::vector<std::string> messages;
    long invalidTotal = 0;
    long processEvents = 0;
    bool operator==(const Outcome &) const = default;
};

void PrintTo(const Outcome &o, std::ostream *out)
{
    *out << o.files.size() << " files, " << o.orphans.size() << " orphans, " << o.messages.size()
         << " messages, " << o.invalidTotal << " invalid links, " << o.processEvents << " events";
    for (const std::string &m : o.messages)
        *out << "\n  message: " << m;
}

Outcome outcomeOf(const SiteFixture &f)
{
    Outcome o;
    o.files = f.files();
    for (size_t i = 0; i < f.site.FileObjects.size(); ++i) {
        const FileObject *object = f.site.FileObjects[i];
        o.links.push_back(object->Links.items());
        o.anchors.push_back(object->Anchors.items());
        o.valid.push_back(object->ValidLinks.ToVector());
        o.invalid.push_back(object->InvalidLinks.ToVector());
        o.external.push_back(object->ExternalLinks.ToVector());
    }
    o.orphans = f.orphans();
    for (const auto &m : f.host.messages) {
        std::string text = m.text;
        if (const size_t at = text.find(f.dir.path()); at != std::string::npos)
            text.replace(at, f.dir.path().size(), "<site>/");
        o.messages.push_back(text);
    }
    o.invalidTotal = f.site.InvalidLinkTotal;
    o.processEvents = f.host.processEventsCalls;
    return o;
}

/// Writes the same random site into f's folder for the same seed.
void writeSite(SiteFixture &f, unsigned seed)
{
    std::mt19937 random(seed);
    const int pages = 40;
    for (int i = 0; i < pages; ++i) {
        const std::string folder = i % 4 == 0 ? "" : "d" + std::to_string(i % 3) + "/";
        f.dir.write(folder + "p" + std::to_string(i) + ".html", randomPage(random, pages));
    }
    f.dir.write("img/1.png", "\x89PNG");
    f.dir.write("binary.html", std::string("\x01\x02\x03\x04 binary", 11));
    f.dir.write("d1/locked.html", "<a href=p1.html>");
    ::chmod((f.dir.path() + "d1/locked.html").c_str(), 0);
    // Listed as a page, but opening it fails: the user is told.
    ASSERT_EQ(::symlink("nowhere", (f.dir.path() + "d2/dangling.html").c_str()), 0);
}

Outcome check(unsigned seed, unsigned workers, bool ignoreJavaScript, bool isSpaceValid,
              long haltAt)
{
    SiteFixture f;
    writeSite(f, seed);
    f.site.ReadAheadWorkers = workers;
    f.settings.HideInfoBoxAfterCheck = true;
    f.settings.IgnoreJavaScript = ignoreJavaScript;
    f.settings.isSpaceValid = isSpaceValid;
    f.host.onProcessEvents = [&](long calls) {
        if (calls == haltAt)
            f.site.HaltRequested = true;
    };
    f.project.AddTopFile(f.dir.path() + "p0.html");
    CheckFolder(f.site, f.dir.path(), true);
    return outcomeOf(f);
}

TEST(ReadAhead, CheckGivesWhatReadingEachPageInTurnGives)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const bool ignoreJavaScript = seed % 2 == 0;
        const bool isSpaceValid = seed % 3 == 0;
        const Outcome inTurn = check(seed, 0, ignoreJavaScript, isSpaceValid, 0);
        EXPECT_FALSE(inTurn.orphans.empty());
        EXPECT_FALSE(inTurn.messages.empty());
        EXPECT_GT(inTurn.invalidTotal, 0);
        for (unsigned workers : {1u, 2u, 4u})
            EXPECT_EQ(check(seed, workers, ignoreJavaScript, isSpaceValid, 0), inTurn)
                << "seed " << seed << ", " << workers << " workers";
    }
}

TEST(ReadAhead, HaltingAtAnyEventGivesWhatReadingInTurnGives)
{
    const unsigned seed = 7;
    const long events = check(seed, 0, true, false, 0).processEvents;
    ASSERT_GT(events, 100);
    for (long haltAt = 1; haltAt <= events; haltAt += 1 + haltAt / 40)
        ASSERT_EQ(check(seed, 2, true, false, haltAt), check(seed, 0, true, false, haltAt))
            << "halted at event " << haltAt;
}

TEST(PagePrefetcher, HandsOverWhatPreparingInPlaceGives)
{
    test::TempDir dir;
    std::mt19937 random(3);
    std::vector<std::string> paths;
    for (int i = 0; i < 200; ++i)
        paths.push_back(dir.write("p" + std::to_string(i) + ".html", randomPage(random, 200)));
    paths.push_back(dir.path() + "missing.html");
    paths.push_back(dir.write("binary.html", std::string("\x01\x02\x03 x", 5)));
    paths.push_back(dir.mkdir("folder.html"));

    std::vector<std::string> names;
    for (const std::string &path : paths)
        names.push_back(path.substr(dir.path().size()));

    const ExtractOptions options{true, false};
    for (const bool byName : {false, true}) {
        SCOPED_TRACE(byName ? "by name in the folder" : "by path");
        PagePrefetcher prefetcher(options, 2);
        if (byName)
            prefetcher.Enqueue(dir.path(), names);
        else
            prefetcher.Enqueue(paths);
        test::RecordingHost host;
        for (size_t i = 0; i < 200; ++i) {
            const auto page = prefetcher.Take(paths[i], options);
            ASSERT_TRUE(page) << paths[i];
            const PreparedPage direct = PreparePage(ReadFileAll(paths[i], host), options);
            EXPECT_EQ(page->text, direct.text);
            EXPECT_EQ(page->commentCount, direct.commentCount);
            EXPECT_EQ(page->commentGaps.size(), direct.commentGaps.size());
            EXPECT_EQ(page->lists.links.items(), direct.lists.links.items());
            EXPECT_EQ(page->lists.places, direct.lists.places);
            EXPECT_EQ(page->lists.anchors.items(), direct.lists.anchors.items());
            EXPECT_EQ(page->lists.targets, direct.lists.targets);
            EXPECT_EQ(page->rowStart, direct.rowStart);
        }
        // Pages that cannot be read are left to the caller, who reports them.
        for (size_t i = 200; i < paths.size(); ++i)
            EXPECT_FALSE(prefetcher.Take(paths[i], options)) << paths[i];
        EXPECT_TRUE(host.messages.empty());
    }

    // A folder that cannot be opened gives no pages: the taker reads them
    // itself and reports.
    PagePrefetcher prefetcher(options, 1);
    prefetcher.Enqueue(dir.path() + "gone/", {"p0.html"});
    EXPECT_FALSE(prefetcher.Take(dir.path() + "gone/p0.html", options));
}

TEST(PagePrefetcher, TakingSkipsEarlierPagesAndChecksTheOptions)
{
    test::TempDir dir;
    std::vector<std::string> paths;
    for (const char *name : {"a.html", "b.html", "c.html", "d.html", "e.html"})
        paths.push_back(dir.write(name, "<a href=x.html><a name=n>"));
    const ExtractOptions options{false, true};
    PagePrefetcher prefetcher(options, 1);
    prefetcher.Enqueue(paths);

    EXPECT_FALSE(prefetcher.Take(dir.path() + "other.html", options));
    const auto c = prefetcher.Take(paths[2], options);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->lists.links.items(), std::vector<std::string>{"x.html"});
    EXPECT_FALSE(prefetcher.Take(paths[0], options)); // passed over when c was taken
    EXPECT_FALSE(prefetcher.Take(paths[3], ExtractOptions{true, true}));
    EXPECT_TRUE(prefetcher.Take(paths[4], options));
    EXPECT_FALSE(prefetcher.Take(paths[4], options)); // taken once only
}

TEST(PagePrefetcher, StopsWithPagesStillQueued)
{
    test::TempDir dir;
    std::vector<std::string> paths;
    const std::string big(1 << 20, 'x');
    for (int i = 0; i < 300; ++i)
        paths.push_back(dir.write("p" + std::to_string(i) + ".html", big));
    {
        PagePrefetcher prefetcher({}, 2);
        prefetcher.Enqueue(paths);
        EXPECT_TRUE(prefetcher.Take(paths[0], {}));
        // Leaves with up to 299 pages queued: the workers stop after the page
        // each one holds.
    }
    PagePrefetcher none({}, 0);
    none.Enqueue(paths);
    EXPECT_FALSE(none.Take(paths[0], {}));
}

TEST(PagePrefetcher, HoldsNoMoreThanItsBoundOfBytesAndLeavesLargerPagesToTheTaker)
{
    test::TempDir dir;
    constexpr unsigned long long Bound = 1 << 20;
    const std::string page(300 << 10, 'x');
    std::vector<std::string> paths;
    for (int i = 0; i < 12; ++i) {
        paths.push_back(dir.write("p" + std::to_string(i) + ".html", page + std::to_string(i)));
        if (i == 5)
            paths.push_back(dir.write("big.html", std::string(3 << 20, 'y')));
    }
    PagePrefetcher prefetcher({}, 3, Bound);
    prefetcher.Enqueue(paths);
    test::RecordingHost host;
    size_t handedOver = 0;
    for (const std::string &path : paths) {
        // Let the workers run ahead as far as they may before each page is taken.
        usleep(2000);
        const auto prepared = prefetcher.Take(path, {});
        if (path.ends_with("big.html")) {
            EXPECT_FALSE(prepared) << "a page beyond the bound is the taker's to read";
            continue;
        }
        // A page that did not fit beside the others is the taker's as well.
        if (prepared) {
            ++handedOver;
            EXPECT_EQ(prepared->text, ReadFileAll(path, host)) << path;
        }
    }
    EXPECT_GT(handedOver, 0u);
    EXPECT_LE(prefetcher.PeakBytesHeld(), Bound);
    EXPECT_GT(prefetcher.PeakBytesHeld(), 0u);
}

TEST(ParallelFor, RunsEveryIndexOnceAndPassesOnErrors)
{
    for (unsigned threads : {0u, 1u, 2u, 5u}) {
        for (size_t count : {0u, 1u, 2u, 7u, 1000u}) {
            std::vector<std::atomic<int>> runs(count + 10);
            ParallelFor(10, 10 + count, threads, [&](size_t i) { ++runs[i]; });
            for (size_t i = 0; i < runs.size(); ++i)
                ASSERT_EQ(runs[i].load(), i >= 10 ? 1 : 0) << threads << " threads, index " << i;
        }
    }
    std::atomic<int> after{0};
    EXPECT_THROW(ParallelFor(0, 500, 3,
                             [&](size_t i) {
                                 if (i == 17)
                                     throw std::runtime_error("page 17");
                                 ++after;
                             }),
                 std::runtime_error);
    EXPECT_LT(after.load(), 500);
}

TEST(ParallelFor, KeepsItsThreadsAndAllowsNestedAndConcurrentCalls)
{
    // Many short calls, as classification makes in the window, reuse the same
    // few helper threads instead of starting new ones.
    // (A thread's id may be handed on to a later thread; a thread_local is
    // new in every thread.)
    static std::atomic<int> threadsSeen{0};
    for (int call = 0; call < 200; ++call)
        ParallelFor(0, 64, 3, [&](size_t) {
            thread_local bool seen = false;
            if (!std::exchange(seen, true))
                ++threadsSeen;
        });
    EXPECT_LE(threadsSeen.load(), 17);

    // A call from inside a call, and calls from several threads at once,
    // still run every index exactly once and never wait for each other.
    std::vector<std::atomic<int>> runs(40 * 50);
    auto nested = [&](size_t outer) {
        ParallelFor(0, 50, 4, [&](size_t inner) { ++runs[outer * 50 + inner]; });
    };
    std::vector<std::thread> callers;
    for (size_t t = 0; t < 4; ++t)
        callers.emplace_back([&, t] { ParallelFor(t * 10, t * 10 + 10, 3, nested); });
    for (std::thread &caller : callers)
        caller.join();
    for (size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i].load(), 1) << "index " << i;
}

} // namespace
} // namespace orvane
