// Deleting from the tree removes what the chosen node stands for inside the
// site and nothing else: links to folders and files outside go as links, the
// folders and files they point to stay, and so does every other part of the
// site.
#include "commands/deletetree.h"
#include "commands/treecommands.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/faultsupport.h"
#include "support/recordinghost.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::SiteFixture;

/// Every path below folder, relative to it, sorted; links are not followed.
std::vector<std::string> treeBelow(const std::string &folder)
{
    std::vector<std::string> paths;
    std::error_code ec;
    const fs::path base = fs::path(folder).parent_path(); // without the closing "/"
    for (const auto &entry : fs::recursive_directory_iterator(base, ec))
        paths.push_back(entry.path().lexically_relative(base).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

struct DeleteSite : SiteFixture
{
    std::string home;
    std::string outside;
    std::vector<std::string> outsideBefore;

    DeleteSite()
    {
        home = dir.mkdir("site");
        outside = dir.mkdir("outside");
        dir.write("outside/keep.txt", "keep");
        dir.write("outside/deep/keep.html", "<a href=../keep.txt>k</a>");
        dir.write("secret.html", "secret");
        dir.write("site/index.html", "<a href=sub/x.html>x</a>");
        dir.write("site/sub/x.html", "");
        dir.write("site/.../dots.html", "");
        link(outside, "site/sub/ext");
        link(dir.path() + "secret.html", "site/sub/file.html");
        link("..", "site/sub/up");
        link(outside, "site/linked");
        link(dir.path() + "secret.html", "site/secret-link.html");
        outsideBefore = treeBelow(outside);
        CheckFolder(site, home, false);
        host.messages.clear();
        host.beeps.clear();
    }

    void link(const std::string &target, const std::string &relative)
    {
        ASSERT_EQ(symlink(target.c_str(), (dir.path() + relative).c_str()), 0) << relative;
    }

    void deleteNode(const std::string &relative)
    {
        TreeNode *n = node(relative);
        ASSERT_NE(n, nullptr) << relative;
        site.tree.Select(n);
        DeleteItemClick(site);
    }

    void expectOutsideUntouched()
    {
        EXPECT_EQ(treeBelow(outside), outsideBefore);
        EXPECT_EQ(test::readFile(dir.path() + "secret.html"), "secret");
    }
};

TEST(FaultDelete, AFolderWithLinksToOutsideLosesOnlyTheLinks)
{
    DeleteSite f;
    // "linked" comes first and is listed; "sub/ext" leads to the same folder
    // again and stays empty.
    ASSERT_NE(f.node("linked/deep/keep.html"), nullptr) << "the scan follows the link";
    ASSERT_EQ(f.node("sub/ext")->Count(), 0u);
    f.deleteNode("sub");
    EXPECT_EQ(f.host.messages.size(), 1u) << "the confirmation only";
    EXPECT_EQ(f.node("sub"), nullptr);
    EXPECT_EQ(treeBelow(f.home), (std::vector<std::string>{"...", ".../dots.html", "index.html",
                                                           "linked", "secret-link.html"}));
    f.expectOutsideUntouched();
    for (const std::string &file : f.files())
        EXPECT_NE(file.rfind("site/sub/", 0), 0u) << file;
}

TEST(FaultDelete, AFolderThatIsALinkGoesAsALink)
{
    DeleteSite f;
    f.deleteNode("linked");
    EXPECT_EQ(f.node("linked"), nullptr);
    EXPECT_EQ(access((f.home + "linked").c_str(), F_OK), -1);
    f.expectOutsideUntouched();
    EXPECT_NE(f.node("sub/ext"), nullptr);
}

TEST(FaultDelete, AFileThatIsALinkGoesAsALink)
{
    DeleteSite f;
    f.deleteNode("secret-link.html");
    EXPECT_EQ(f.node("secret-link.html"), nullptr);
    f.expectOutsideUntouched();
}

TEST(FaultDelete, AFolderNamedWithDotsIsJustThatFolder)
{
    DeleteSite f;
    f.deleteNode("...");
    EXPECT_EQ(f.node("..."), nullptr);
    EXPECT_EQ(treeBelow(f.home),
              (std::vector<std::string>{"index.html", "linked", "secret-link.html", "sub",
                                        "sub/ext", "sub/file.html", "sub/up", "sub/x.html"}));
    f.expectOutsideUntouched();
}

TEST(FaultDelete, DotDotInThePathNeverLeadsThroughALink)
{
    DeleteSite f;
    // Read by the system, "sub/ext/.." would be the folder above "outside";
    // taken by its text it is "sub", inside the site.
    EXPECT_TRUE(DeleteFolderTree(f.home + "sub/ext/..", true));
    EXPECT_EQ(access((f.home + "sub").c_str(), F_OK), -1);
    EXPECT_EQ(access(f.home.c_str(), F_OK), 0);
    f.expectOutsideUntouched();
    EXPECT_FALSE(DeleteFolderTree("/", true));
    EXPECT_FALSE(DeleteFolderTree("/..", true));
}

} // namespace
} // namespace orvane
