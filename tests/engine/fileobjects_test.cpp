#include "engine/filenames.h"
#include "engine/fileobject.h"
#include "engine/fileobjects.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane {
namespace {

/// The look-up as a plain walk over all objects in creation order, name key
/// first: the oracle for the indexed look-up.
TreeNode *literalFindFileNode(const FileObjectList &objects, const std::string &path,
                              bool ignoreCase)
{
    const int32_t key = NameKey(path);
    for (size_t i = 0; i < objects.size(); ++i) {
        const FileObject *o = objects[i];
        if (o->NameKey == key && CompareFileNames(path, o->FullPath, ignoreCase) == 0)
            return o->Node;
    }
    return nullptr;
}

TEST(NameKey, SumsTheFirstSixUpperCasedBytesOfTheName)
{
    EXPECT_EQ(NameKey("/x/ab"), 'A' + 'B');
    EXPECT_EQ(NameKey("/x/abcdefgh"), 'A' + 'B' + 'C' + 'D' + 'E' + 'F');
    EXPECT_EQ(NameKey("/x/Index.html"), NameKey("/y/INDEX.HTM"));
    EXPECT_EQ(NameKey("/dir/"), 0);
    EXPECT_EQ(NameKey("\xe3\x81\x82"), 0xe3 + 0x81 + 0x82) << "bytes count unsigned";
}

TEST(CompareFileNames, FoldsOnlyAsciiLettersWhenAsked)
{
    EXPECT_EQ(CompareFileNames("/a/Index.html", "/a/index.html", true), 0);
    EXPECT_NE(CompareFileNames("/a/Index.html", "/a/index.html", false), 0);
    EXPECT_NE(CompareFileNames("/a/\xc3\xa4.html", "/a/\xc3\x84.html", true), 0);
    EXPECT_LT(CompareFileNames("/a/a", "/a/B", true), 0);
    EXPECT_GT(CompareFileNames("/a/a", "/a/B", false), 0);
}

TEST(FindFileNode, CaseRuleFollowsTheFlag)
{
    test::SiteFixture f;
    f.dir.write("index.html", "");
    f.site.tree.Root()->SetText(f.dir.path());
    TreeNode *node = f.site.tree.AddChild(f.site.tree.Root(), "index.html");
    FileObject *object = f.site.FileObjects.Create(f.site, node);
    object->LoadFromFile(f.dir.path() + "index.html");
    EXPECT_EQ(f.site.FindFileNode(f.dir.path() + "index.html", false), node);
    EXPECT_EQ(f.site.FindFileNode(f.dir.path() + "Index.html", false), nullptr);
    EXPECT_EQ(f.site.FindFileNode(f.dir.path() + "Index.html", true), node);
    EXPECT_EQ(f.site.FindFileNode(f.dir.path() + "other.html", true), nullptr);
}

TEST(FindFileNode, IndexAgreesWithTheLinearWalkAsObjectsComeAndGo)
{
    test::SiteFixture f;
    std::mt19937 random(7);
    const char *names[] = {"a.gif", "A.gif", "a.GIF", "b.gif", "ab.gif", "ba.gif", "x.png"};
    const char *folders[] = {"/s/", "/s/sub/", "/S/", "/s/Sub/"};
    std::vector<std::string> probes;
    for (const char *folder : folders)
        for (const char *name : names)
            probes.push_back(std::string(folder) + name);

    for (int round = 0; round < 400; ++round) {
        const std::string &path = probes[random() % probes.size()];
        if (random() % 3 == 0 && !f.site.FileObjects.empty()) {
            FileObject *victim = f.site.FileObjects[random() % f.site.FileObjects.size()];
            f.site.FileObjects.Destroy(victim);
        } else {
            TreeNode *node = f.site.tree.AddChild(f.site.tree.Root(), path);
            f.site.FileObjects.Create(f.site, node)->LoadFromFile(path);
        }
        for (const std::string &probe : probes)
            for (bool ignoreCase : {false, true})
                ASSERT_EQ(f.site.FindFileNode(probe, ignoreCase),
                          literalFindFileNode(f.site.FileObjects, probe, ignoreCase))
                    << probe << " ignoreCase=" << ignoreCase << " round " << round;
    }
}

TEST(FindFileNode, IndexAgreesWithTheLinearWalkWhileItGrows)
{
    // Thousands of paths, so that the index grows several times and is
    // looked up, added to and taken from while it moves its entries over.
    test::SiteFixture f;
    std::mt19937 random(11);
    std::vector<std::string> paths;
    for (int i = 0; i < 6000; ++i)
        paths.push_back("/s/d" + std::to_string(i % 37) + "/p" + std::to_string(i) + ".html");
    std::vector<std::string> probes;
    const auto check = [&](int round) {
        for (int k = 0; k < 12; ++k) {
            const std::string &probe = paths[random() % paths.size()];
            for (bool ignoreCase : {false, true})
                ASSERT_EQ(f.site.FindFileNode(probe, ignoreCase),
                          literalFindFileNode(f.site.FileObjects, probe, ignoreCase))
                    << probe << " round " << round;
        }
    };
    for (int round = 0; round < 9000; ++round) {
        if (random() % 4 == 0 && !f.site.FileObjects.empty()) {
            FileObject *victim = f.site.FileObjects[random() % f.site.FileObjects.size()];
            f.site.FileObjects.Destroy(victim);
        } else {
            // Now and then a path added before: equal paths find the first made.
            const std::string &path = paths[round < 6000 ? round : random() % paths.size()];
            TreeNode *node = f.site.tree.AddChild(f.site.tree.Root(), path);
            f.site.FileObjects.Create(f.site, node)->LoadFromFile(path);
        }
        ASSERT_NO_FATAL_FAILURE(check(round));
    }
    // Every object is found, and only the first made of equal paths.
    for (size_t i = 0; i < f.site.FileObjects.size(); ++i) {
        const std::string &path = f.site.FileObjects[i]->FullPath;
        ASSERT_EQ(f.site.FindFileNode(path, false),
                  literalFindFileNode(f.site.FileObjects, path, false))
            << path;
    }
}

TEST(FindFileNode, ALargeIndexFindsEveryObject)
{
    // Large enough for tables mapped from the system, found while the last
    // growth is still moving entries over and after every path was removed.
    test::SiteFixture f;
    std::vector<FileObject *> made;
    for (int i = 0; i < 40000; ++i) {
        const std::string path =
            "/s/d" + std::to_string(i % 61) + "/p" + std::to_string(i) + ".html";
        TreeNode *node = f.site.tree.AddChild(f.site.tree.Root(), path);
        FileObject *object = f.site.FileObjects.Create(f.site, node);
        object->LoadFromFile(path);
        made.push_back(object);
    }
    for (const FileObject *object : made)
        ASSERT_EQ(f.site.FindFileNode(object->FullPath, true), object->Node) << object->FullPath;
    EXPECT_EQ(f.site.FindFileNode("/s/d0/p40000.html", false), nullptr);
    for (size_t i = 0; i < made.size(); i += 2)
        f.site.FileObjects.Destroy(made[i]);
    for (size_t i = 0; i < made.size(); ++i) {
        const std::string path =
            "/s/d" + std::to_string(i % 61) + "/p" + std::to_string(i) + ".html";
        ASSERT_EQ(f.site.FindFileNode(path, false), i % 2 ? made[i]->Node : nullptr) << path;
    }
}

TEST(FileObjectList, DestroyAllEmptiesListAndIndex)
{
    test::SiteFixture f;
    for (const char *path : {"/s/a.gif", "/s/b.gif"}) {
        TreeNode *node = f.site.tree.AddChild(f.site.tree.Root(), path);
        f.site.FileObjects.Create(f.site, node)->LoadFromFile(path);
    }
    ASSERT_EQ(f.site.FileObjects.size(), 2u);
    f.site.tree.Clear();
    f.site.FileObjects.DestroyAll();
    EXPECT_TRUE(f.site.FileObjects.empty());
    EXPECT_EQ(f.site.FileObjects.FindFileObject("/s/a.gif", true), nullptr);
}

} // namespace
} // namespace orvane
