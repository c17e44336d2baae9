#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/pageprefetch.h"
#include "support/deeptree.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::SiteFixture;
namespace fs = std::filesystem;

std::string numbered(const char *prefix, int i, const char *suffix = "")
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%03d%s", prefix, i, suffix);
    return name;
}

/// Folders of every shape, more entries in all than the scan lists ahead:
/// folders of sub-folders only, of files only, empty ones, a large one and
/// one excluded. Every name is lower case, so plain order is the scan's.
/// Returns the number of pages.
int writeSite(SiteFixture &f)
{
    int pages = 0;
    const auto page = [&](const std::string &path) {
        f.dir.write(path, "<a href=\"../index.html\">up</a>");
        ++pages;
    };
    for (int d = 0; d < 12; ++d) {
        const std::string folder = numbered("d", d) + "/";
        for (int s = 0; s < d % 4; ++s)
            for (int p = 0; p < (d * 7 + s * 3) % 23; ++p)
                page(folder + numbered("s", s) + "/" + numbered("p", p, ".html"));
        for (int p = 0; p < (d * 5) % 17; ++p)
            page(folder + numbered("p", p, ".html"));
        if (d % 3 == 0)
            f.dir.write(folder + "pic.gif", "GIF89a");
    }
    for (int p = 0; p < 300; ++p)
        page("big/" + numbered("p", p, ".html"));
    fs::create_directories(f.dir.path() + "empty/deeper");
    page("d005/s000/kept.html");
    f.project.AddIgnoreFolder(f.dir.path() + "d005/s001");
    page("d005/s001/excluded.html");
    page("index.html");
    return pages - 1; // the excluded page is never read
}

/// The tree as the scan must build it, worked out from the disk on its own:
/// per folder its sub-folders, each followed by what is below it, then its
/// files; one line per node, indented by depth. The files come in the order
/// of their objects: a folder's own after those of its sub-folders.
void expectTree(const SiteFixture &f, const std::string &relative, int depth,
                std::vector<std::string> &tree, std::vector<std::string> &files)
{
    std::vector<std::string> folders;
    std::vector<std::string> own;
    for (const fs::directory_entry &entry : fs::directory_iterator(f.dir.path() + relative)) {
        const std::string name = entry.path().filename().string();
        (entry.is_directory() ? folders : own).push_back(name);
    }
    std::sort(folders.begin(), folders.end());
    std::sort(own.begin(), own.end());
    for (const std::string &folder : folders) {
        if (f.project.IsIgnoredFolder(f.dir.path() + relative + folder))
            continue;
        tree.push_back(std::string(depth, ' ') + folder);
        expectTree(f, relative + folder + "/", depth + 1, tree, files);
    }
    for (const std::string &name : own) {
        tree.push_back(std::string(depth, ' ') + name);
        files.push_back(relative + name);
    }
}

void dumpTree(const TreeNode *node, int depth, std::vector<std::string> &out)
{
    for (size_t i = 0; i < node->Count(); ++i) {
        out.push_back(std::string(depth, ' ') + node->Child(i)->Text());
        dumpTree(node->Child(i), depth + 1, out);
    }
}

TEST(ScanFolder, TheTreeFollowsTheFoldersDepthFirstHoweverFarListingRunsAhead)
{
    for (unsigned workers : {0u, 1u, 3u}) {
        SiteFixture f;
        writeSite(f);
        f.site.ReadAheadWorkers = workers;
        f.settings.HideInfoBoxAfterCheck = true;
        CheckFolder(f.site, f.dir.path(), false);

        std::vector<std::string> tree;
        std::vector<std::string> files;
        expectTree(f, "", 0, tree, files);
        ASSERT_GT(tree.size(), 600u);
        std::vector<std::string> built;
        dumpTree(f.site.tree.Root(), 0, built);
        EXPECT_EQ(built, tree) << workers << " workers";
        EXPECT_EQ(f.files(), files) << workers << " workers";

        // Folder nodes in the order the walk goes down into them.
        std::vector<std::string> folderOrder;
        for (const std::string &line : tree)
            if (line.find('.') == std::string::npos)
                folderOrder.push_back(line.substr(line.find_first_not_of(' ')));
        ASSERT_EQ(f.site.FolderNodes.size(), folderOrder.size());
        for (size_t i = 0; i < folderOrder.size(); ++i)
            EXPECT_EQ(f.site.FolderNodes[i]->Text(), folderOrder[i]);
        EXPECT_FALSE(f.node("empty/deeper")->HasChildren());
        EXPECT_EQ(f.node("d005/s001"), nullptr);
    }
}

TEST(ScanFolder, EveryPageIsReadAheadInTheOrderTheTreeTakesIt)
{
    SiteFixture f;
    const int pages = writeSite(f);
    f.settings.HideInfoBoxAfterCheck = true;
    PagePrefetcher prefetcher(ExtractOptions{f.settings.IgnoreJavaScript, f.settings.isSpaceValid},
                              2);
    f.site.Prefetcher = &prefetcher;
    CheckFolder(f.site, f.dir.path(), false);
    f.site.Prefetcher = nullptr;
    // A page queued out of the tree's order is passed over and read again.
    EXPECT_EQ(prefetcher.PagesHandedOver(), static_cast<unsigned long long>(pages));
    EXPECT_EQ(f.object("big/p299.html")->Links.size(), 1u);
}

TEST(ScanFolder, ALowLimitOfOpenFilesLeavesNoFolderOut)
{
    // Folders of one page each: the pages of many folders are queued for
    // reading at once, each folder opened to read them by name.
    SiteFixture f;
    const int folders = 400;
    for (int d = 0; d < folders; ++d)
        f.dir.write(numbered("f", d) + "/page.html", "<a href=\"../index.html\">up</a>");
    f.dir.write("index.html", "");
    f.settings.HideInfoBoxAfterCheck = true;
    f.site.ReadAheadWorkers = 2;
    const long limit = test::OpenFileLimit();
    ASSERT_TRUE(test::SetOpenFileLimit(64));
    CheckFolder(f.site, f.dir.path(), false);
    test::SetOpenFileLimit(limit);
    ASSERT_EQ(f.site.FileObjects.size(), static_cast<size_t>(folders + 1));
    for (int d = 0; d < folders; ++d)
        ASSERT_EQ(f.object(numbered("f", d) + "/page.html")->ValidLinks.size(), 1u) << d;
    EXPECT_TRUE(f.host.messages.empty());
}

} // namespace
} // namespace orvane
