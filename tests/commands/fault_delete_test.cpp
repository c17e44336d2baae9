// Deleting from the tree removes what the chosen node stands for inside the
// site and nothing else: links to folders and files outside go as links, the
// folders and files they point to stay, and so does every other part of the
// site.
#include "commands/deletetree.h"
#include "commands/treecommands.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/deeptree.h"
#include "support/faultsupport.h"
#include "support/privatemount.h"
#include "support/recordinghost.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <sys/stat.h>
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
    EXPECT_TRUE(DeleteFolderTree(f.home, f.home + "sub/ext/..", true).deleted());
    EXPECT_EQ(access((f.home + "sub").c_str(), F_OK), -1);
    EXPECT_EQ(access(f.home.c_str(), F_OK), 0);
    f.expectOutsideUntouched();
    EXPECT_EQ(DeleteFolderTree(f.home, "/", true).outcome, DeleteOutcome::notInSite);
    EXPECT_EQ(DeleteFolderTree(f.home, "/..", true).outcome, DeleteOutcome::notInSite);
}

TEST(FaultDelete, NodesShownUnderALinkedFolderAreRefusedAndNothingGoes)
{
    DeleteSite f;
    for (const char *shown : {"linked/deep", "linked/keep.txt", "linked/deep/keep.html"}) {
        f.host.messages.clear();
        f.deleteNode(shown);
        ASSERT_EQ(f.host.messages.size(), 2u) << shown;
        EXPECT_EQ(f.host.messages[1].text,
                  f.home + shown + (std::string(shown) == "linked/deep" ? "/" : "") +
                      "\r\nはシンボリックリンク " + f.home + "linked を通るため削除しません")
            << shown;
        EXPECT_NE(f.node(shown), nullptr) << shown;
    }
    f.expectOutsideUntouched();
}

TEST(FaultDelete, AFolderOnThePathSwappedForALinkAfterTheScanIsRefused)
{
    DeleteSite f;
    f.dir.write("site/a/b/inner.html", "");
    f.dir.write("site/a/x.html", "");
    f.dir.write("elsewhere/b/inner.html", "elsewhere");
    f.dir.write("elsewhere/x.html", "elsewhere");
    CheckFolder(f.site, f.home, false);
    ASSERT_NE(f.node("a/b/inner.html"), nullptr);
    ASSERT_EQ(rename((f.home + "a").c_str(), (f.dir.path() + "moved-a").c_str()), 0);
    f.link(f.dir.path() + "elsewhere", "site/a");
    for (const char *shown : {"a/b", "a/x.html", "a/b/inner.html"}) {
        f.host.messages.clear();
        f.deleteNode(shown);
        ASSERT_EQ(f.host.messages.size(), 2u) << shown;
        EXPECT_NE(f.host.messages[1].text.find("はシンボリックリンク " + f.home + "a を通る"),
                  std::string::npos)
            << f.host.messages[1].text;
    }
    EXPECT_EQ(test::readFile(f.dir.path() + "elsewhere/b/inner.html"), "elsewhere");
    EXPECT_EQ(test::readFile(f.dir.path() + "elsewhere/x.html"), "elsewhere");
    EXPECT_NE(f.node("a/b"), nullptr);
}

TEST(FaultDelete, ThePermissionsOfAFileOutsideNeverChange)
{
    // A hard link to a read-only file that also lives outside: deleting the
    // folder removes the name, and the file outside keeps its permissions.
    DeleteSite f;
    const std::string shared = f.dir.write("outside/shared.html", "shared");
    ASSERT_EQ(chmod(shared.c_str(), 0444), 0);
    f.dir.mkdir("site/hard");
    ASSERT_EQ(::link(shared.c_str(), (f.home + "hard/shared.html").c_str()), 0);
    f.dir.write("site/hard/ro/inner.html", "");
    ASSERT_EQ(chmod((f.home + "hard/ro").c_str(), 0555), 0);
    CheckFolder(f.site, f.home, false);
    f.deleteNode("hard");
    EXPECT_EQ(f.node("hard"), nullptr);
    EXPECT_EQ(access((f.home + "hard").c_str(), F_OK), -1);
    struct stat st
    {
    };
    ASSERT_EQ(stat(shared.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_EQ(test::readFile(shared), "shared");
}

TEST(FaultDelete, MountsOnThePathOrBelowTheFolderAreRefusedAndNothingGoes)
{
    DeleteSite f;
    f.dir.write("site/data/own.html", "own");
    const std::string mounted = f.dir.mkdir("site/data/mnt");
    f.dir.write("elsewhere/precious.html", "precious");
    f.dir.write("elsewhere/sub/deeper.html", "deeper");
    test::BindMount mount(f.dir.path() + "elsewhere", mounted);
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot();
    CheckFolder(f.site, f.home, false);
    f.host.messages.clear();
    ASSERT_NE(f.node("data/mnt/precious.html"), nullptr);

    // The folder holding the mount: refused before anything goes.
    f.deleteNode("data");
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[1].text, f.home +
                                           "data/\r\nの中に別のファイルシステムがマウントされて"
                                           "いるため削除しません\r\n" +
                                           f.home + "data/mnt");
    EXPECT_EQ(test::readFile(f.home + "data/own.html"), "own");
    // Nodes on the mount itself, a folder or a file.
    for (const char *shown : {"data/mnt", "data/mnt/sub", "data/mnt/precious.html"}) {
        f.host.messages.clear();
        f.deleteNode(shown);
        ASSERT_EQ(f.host.messages.size(), 2u) << shown;
        EXPECT_NE(f.host.messages[1].text.find("は別のファイルシステム"), std::string::npos)
            << shown << ": " << f.host.messages[1].text;
    }
    EXPECT_EQ(test::readFile(f.dir.path() + "elsewhere/precious.html"), "precious");
    EXPECT_EQ(test::readFile(f.dir.path() + "elsewhere/sub/deeper.html"), "deeper");
    EXPECT_NE(f.node("data/mnt/sub"), nullptr);
}

TEST(FaultDelete, AFolderDeeperThanTheOpenFileLimitGoesWhole)
{
    // 300 folders of 20-byte names (paths beyond the system's limit) with
    // only 64 descriptors allowed: one held per level would run out.
    DeleteSite f;
    const std::string deepest =
        test::MakeDeepFolders(f.home, std::string(20, 'd'), 300, [](int fd, int level) {
            test::WriteFileAt(fd, "p" + std::to_string(level) + ".html", "");
        });
    ASSERT_GT(deepest.size(), static_cast<size_t>(PATH_MAX));
    const long limit = test::OpenFileLimit();
    ASSERT_TRUE(test::SetOpenFileLimit(64));
    const DeleteResult result = DeleteFolderTree(f.home, f.home + std::string(20, 'd'), true);
    test::SetOpenFileLimit(limit);
    EXPECT_TRUE(result.deleted());
    EXPECT_EQ(access((f.home + std::string(20, 'd')).c_str(), F_OK), -1);
    f.expectOutsideUntouched();
}

} // namespace
} // namespace orvane
