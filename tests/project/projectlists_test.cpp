// The operations that change a project's lists in one go (used for long
// lists: a project file's, a folder's worth of exclusions, the analysis's
// pruning) must leave the model and its displayed lists exactly as the same
// changes made one entry at a time do, duplicates and letter case included.
#include "base/strutil.h"
#include "project/memoryprojectview.h"
#include "project/project.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace orvane {
namespace {

using Items = std::vector<std::string>;

/// Two projects kept side by side: one changed in bulk, one entry by entry.
struct Pair
{
    MemoryProjectView bulkView, singleView;
    Project bulk{bulkView}, single{singleView};

    void expectEqual(const std::string &step) const
    {
        EXPECT_EQ(bulk.TopFiles(), single.TopFiles()) << step;
        EXPECT_EQ(bulk.IgnoreFiles(), single.IgnoreFiles()) << step;
        EXPECT_EQ(bulk.WildCards(), single.WildCards()) << step;
        EXPECT_EQ(bulkView.topFiles.items(), singleView.topFiles.items()) << step;
        EXPECT_EQ(bulkView.ignoreFiles.items(), singleView.ignoreFiles.items()) << step;
        EXPECT_EQ(bulkView.wildCards.items(), singleView.wildCards.items()) << step;
        EXPECT_EQ(bulkView.topFiles.items(), bulk.TopFiles()) << step;
        EXPECT_EQ(bulkView.ignoreFiles.items(), bulk.IgnoreFiles()) << step;
        for (const std::string &top : single.TopFiles())
            EXPECT_EQ(bulk.IndexOfTopFile(top), single.IndexOfTopFile(top)) << step << top;
    }
};

Items randomPaths(std::mt19937 &random, size_t count)
{
    // Few names, so duplicates and names equal but for case are common.
    static const char *const names[] = {"/site/a.html",     "/site/A.HTML",     "/site/b.html",
                                        "/site/sub/c.html", "/site/Sub/C.html", "/site/d.gif",
                                        "/site/e.html",     "/site/z.html"};
    Items paths;
    for (size_t i = 0; i < count; ++i)
        paths.push_back(names[random() % std::size(names)]);
    return paths;
}

TEST(ProjectLists, BulkChangesEqualChangesOneByOne)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Pair p;
        for (int step = 0; step < 6; ++step) {
            const Items paths = randomPaths(random, random() % 6);
            const std::string name =
                "round " + std::to_string(round) + " step " + std::to_string(step) + " kind ";
            switch (random() % 5) {
            case 0:
                p.bulk.AddTopFiles(paths);
                for (const std::string &path : paths)
                    p.single.AddTopFile(path);
                p.expectEqual(name + "add top files");
                break;
            case 1:
                p.bulk.AddIgnoreFiles(paths);
                for (const std::string &path : paths)
                    p.single.AddIgnoreFile(path);
                p.expectEqual(name + "add ignore files");
                break;
            case 2:
                p.bulk.AddWildCards(paths);
                for (const std::string &path : paths)
                    p.single.AddWildCard(path);
                p.expectEqual(name + "add patterns");
                break;
            case 3: {
                // Drops every entry equal (without case) to one of paths, as
                // the analysis drops the entries whose file is gone.
                std::set<std::string> gone;
                for (const std::string &path : paths)
                    gone.insert(AsciiUpper(path));
                const auto drop = [&](const std::string &e) { return gone.count(e) > 0; };
                p.bulk.RemoveTopFilesWhere(drop);
                for (const std::string &entry : Items(p.single.TopFiles()))
                    if (drop(entry))
                        p.single.RemoveTopFile(entry);
                p.expectEqual(name + "drop top files");
                break;
            }
            default: {
                std::set<std::string> gone;
                for (const std::string &path : paths)
                    gone.insert(AsciiUpper(path));
                const auto drop = [&](const std::string &e) { return gone.count(e) > 0; };
                p.bulk.RemoveIgnoreFilesWhere(drop);
                for (const std::string &entry : Items(p.single.IgnoreFiles()))
                    if (drop(entry))
                        p.single.RemoveIgnoreFile(entry);
                p.expectEqual(name + "drop ignore files");
                break;
            }
            }
        }
    }
}

TEST(ProjectLists, RemovingFindsTheEntryWhereItStandsAndStrayViewsStillWork)
{
    MemoryProjectView view;
    Project project(view);
    project.AddTopFiles({"/a", "/b", "/a", "/c"});
    project.RemoveTopFile("/A");
    EXPECT_EQ(project.TopFiles(), (Items{"/B", "/A", "/C"}));
    EXPECT_EQ(view.topFiles.items(), project.TopFiles());
    EXPECT_EQ(project.IndexOfTopFile("/a"), 1);
    project.RemoveTopFile("/a");
    EXPECT_EQ(project.IndexOfTopFile("/a"), -1);
    project.RemoveTopFile("/nothing");
    EXPECT_EQ(view.topFiles.items(), (Items{"/B", "/C"}));

    project.AddWildCards({"*.a", "*.b", "*.A"});
    project.RemoveWildCard("*.A");
    EXPECT_EQ(project.WildCards(), (Items{"*.b", "*.A"}));
    EXPECT_EQ(view.wildCards.items(), project.WildCards());

    project.AddIgnoreFiles({"/z", "/b", "/y"});
    EXPECT_EQ(project.IgnoreFiles(), (Items{"/B", "/Y", "/Z"}));
    EXPECT_EQ(project.TopFiles(), (Items{"/C"})) << "an excluded file is never a top page";
    project.RemoveIgnoreFile("/y");
    EXPECT_EQ(view.ignoreFiles.items(), (Items{"/B", "/Z"}));
}

} // namespace
} // namespace orvane
