#include "base/strutil.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orvane {
namespace {

using test::SiteFixture;

TEST(OpenProject, MissingFileOrAFolderIsNotFound)
{
    SiteFixture f;
    EXPECT_FALSE(OpenProject(f.site, f.dir.path() + "none.ovp"));
    EXPECT_FALSE(OpenProject(f.site, f.dir.path()));
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[0].text, f.dir.path() + "none.ovp\r\nが見つかりません");
    EXPECT_EQ(f.view.mainTitle, "Orvane");
}

TEST(OpenProject, AFifoOrADeviceIsRefusedWithoutBeingRead)
{
    SiteFixture f;
    const std::string fifo = f.dir.path() + "fifo.ovp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, std::string("/dev/zero")}) {
        f.host.messages.clear();
        EXPECT_FALSE(OpenProject(f.site, path));
        ASSERT_EQ(f.host.messages.size(), 1u);
        EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(f.host.messages[0].text, path + "\r\nは通常のファイルではありません");
    }
    EXPECT_EQ(f.view.mainTitle, "Orvane");
}

TEST(OpenProject, AByteOrderMarkAtTheStartIsSkipped)
{
    SiteFixture f;
    const std::string site = f.dir.mkdir("site");
    f.dir.write("site/index.html", "");
    const std::string project =
        f.dir.write("bom.ovp", "\xEF\xBB\xBF[OrvaneProject]\r\nHomeDir=" + site +
                                   "\r\nTopFile0=" + AsciiUpper(site + "index.html") + "\r\n");
    ASSERT_TRUE(OpenProject(f.site, project));
    EXPECT_EQ(f.project.HomeDir(), site);
    EXPECT_TRUE(f.orphans().empty());
}

TEST(OpenProject, LoadsChecksAndAnalysesTheHomeFolder)
{
    SiteFixture f;
    const std::string site = f.dir.mkdir("site");
    f.dir.write("site/index.html", "<a href=a.html></a>");
    f.dir.write("site/a.html", "");
    f.dir.write("site/b.html", "");
    f.dir.write("site/old.bak", "");
    const std::string project =
        f.dir.write("p.ovp", "[OrvaneProject]\r\nHomeDir=" + site + "\r\nServerRoot=\r\nTopFile0=" +
                                 AsciiUpper(site + "index.html") + "\r\nWildCards0=*.bak\r\n");
    f.project.AddTopFile("/somewhere/else.html");
    ASSERT_TRUE(OpenProject(f.site, project));
    EXPECT_EQ(f.project.HomeDir(), site);
    EXPECT_EQ(f.orphans(), std::vector<std::string>{"site/b.html"});
    EXPECT_EQ(f.object("site/old.bak"), nullptr);
    EXPECT_EQ(f.view.mainTitle, "p.ovp - Orvane");
    EXPECT_EQ(f.view.projectTitle, "p.ovp - プロジェクト情報");
    EXPECT_EQ(f.site.BusyCount, 0);
}

TEST(OpenProject, WithoutHomeFolderRunsNoCheckAndKeepsTitles)
{
    SiteFixture f;
    const std::string project =
        f.dir.write("p.ovp", "[OrvaneProject]\r\nTopFile0=/X/INDEX.HTML\r\n");
    ASSERT_TRUE(OpenProject(f.site, project));
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_EQ(f.project.TopFiles(), std::vector<std::string>{"/X/INDEX.HTML"});
    EXPECT_EQ(f.view.mainTitle, "Orvane");
    EXPECT_EQ(f.site.BusyCount, 0);
    EXPECT_EQ(f.host.leaveBusyCalls, 1) << "the toolbar is usable again";
}

TEST(OpenProject, DeletedHomeFolderIsReportedAndStillTitles)
{
    SiteFixture f;
    const std::string project = f.dir.write("p.ovp", "[OrvaneProject]\r\nHomeDir=" + f.dir.path() +
                                                         "gone/\r\nTopFile0=/X/A.HTML\r\n");
    ASSERT_TRUE(OpenProject(f.site, project));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "ディレクトリが存在しません\r\n" + f.dir.path() + "gone/");
    EXPECT_EQ(f.project.TopFiles().size(), 1u) << "lists are pruned only by a later check";
    EXPECT_EQ(f.view.mainTitle, "p.ovp - Orvane");
}

TEST(SaveProject, WritesTheModelAndRetitles)
{
    SiteFixture f;
    f.project.SetHomeDir(f.dir.path());
    f.project.AddTopFile(f.dir.path() + "index.html");
    const std::string path = f.dir.path() + "saved.ovp";
    ASSERT_TRUE(SaveProject(f.site, path));
    EXPECT_EQ(test::readFile(path), "[OrvaneProject]\r\nHomeDir=" + f.dir.path() +
                                        "\r\nServerRoot=\r\nTopFile0=" +
                                        AsciiUpper(f.dir.path() + "index.html") + "\r\n");
    EXPECT_EQ(f.view.mainTitle, "saved.ovp - Orvane");

    EXPECT_FALSE(SaveProject(f.site, f.dir.path() + "no/such/folder/x.ovp"));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, f.dir.path() + "no/such/folder/x.ovp に書き込めません");
    EXPECT_EQ(f.view.mainTitle, "saved.ovp - Orvane");
}

} // namespace
} // namespace orvane
