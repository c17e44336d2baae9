// File names a POSIX file system allows and a site may hold: blanks, line
// breaks, bytes that are no UTF-8, leading dots, "#" and "?". The scan shows
// them as they are, links written with the same bytes find them, and a name
// that cannot be stored in a project file stops the save with a clear message.
#include "base/profilefile.h"
#include "base/strutil.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvane {
namespace {

using test::SiteFixture;

const std::vector<std::string> OddNames = {
    "my page.html",
    " lead.html",
    "a\nb.html",
    "cr\r.html",
    "\x82\xa0\xff.html",
    ".hidden.html",
    "...",
    "faq#1.html",
    "q?x.html",
    "back\\slash.html",
    "tab\tx.html",
    "\xe3\x81\x82.gif",
    "-1",
    "=eq.html",
    "[sec].html",
};

struct OddSite : SiteFixture
{
    OddSite()
    {
        std::string index;
        for (const std::string &name : OddNames) {
            dir.write(name, "");
            index += "<a href=\"" + name + "\">x</a>\n";
        }
        dir.write("faq#1.html", "<a name=top></a><a href=#top>up</a>");
        dir.write("index.html", index);
        settings.isSpaceValid = true;
        project.AddTopFile(dir.path() + "index.html");
        project.AddTopFile(dir.path() + "faq#1.html");
    }
};

TEST(FaultNames, OddNamesAreScannedAndFoundByLinksWithTheSameBytes)
{
    OddSite f;
    CheckFolder(f.site, f.dir.path(), true);
    for (const std::string &name : OddNames)
        EXPECT_NE(f.object(name), nullptr) << name;

    // A "#" or "?" in a link starts its anchor or query, and a "\" is a
    // separator, as in a browser: those three names cannot be linked to.
    EXPECT_EQ(f.object("index.html")->InvalidLinks.ToVector(),
              (std::vector<std::string>{"back\\slash.html", "faq#1.html", "q?x.html"}));
    EXPECT_EQ(f.orphans(), (std::vector<std::string>{"back\\slash.html", "q?x.html"}));
    // A page whose own name holds "#" reaches its anchors with "#name".
    EXPECT_EQ(f.object("faq#1.html")->ValidLinks.ToVector(), std::vector<std::string>{"#top"});
    EXPECT_TRUE(f.object("faq#1.html")->InvalidLinks.empty());
    EXPECT_FALSE(f.object("faq#1.html")->Blue);
}

TEST(FaultNames, WithoutSpaceValidALinkWithABlankIsCutThere)
{
    OddSite f;
    f.settings.isSpaceValid = false;
    CheckFolder(f.site, f.dir.path(), true);
    const std::vector<std::string> invalid = f.object("index.html")->InvalidLinks.ToVector();
    EXPECT_NE(std::find(invalid.begin(), invalid.end(), "my"), invalid.end());
    const std::vector<std::string> orphans = f.orphans();
    EXPECT_NE(std::find(orphans.begin(), orphans.end(), "my page.html"), orphans.end());
    EXPECT_NE(std::find(orphans.begin(), orphans.end(), " lead.html"), orphans.end());
}

TEST(FaultNames, AProjectWithALineBreakInAnEntryIsNotSaved)
{
    OddSite f;
    CheckFolder(f.site, f.dir.path(), true);
    const std::string path = f.dir.write("site.ovp", "[OrvaneProject]\r\nHomeDir=/old/\r\n");
    ASSERT_TRUE(SaveProject(f.site, path));
    const std::string saved = test::readFile(path);

    for (const char *name : {"a\nb.html", "cr\r.html"}) {
        f.project.AddIgnoreFile(f.dir.path() + name);
        f.host.messages.clear();
        f.view.mainTitle = "before";
        EXPECT_FALSE(SaveProject(f.site, path)) << name;
        ASSERT_EQ(f.host.messages.size(), 1u);
        EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(f.host.messages[0].text, path +
                                               " に書き込めません\r\n改行を含む項目は保存できま"
                                               "せん: " +
                                               AsciiUpper(f.dir.path() + name));
        EXPECT_EQ(test::readFile(path), saved) << "the old file stays";
        EXPECT_EQ(f.view.mainTitle, "before");
        f.project.RemoveIgnoreFile(f.dir.path() + name);
    }

    // The other odd names, non-UTF-8 bytes included, are stored and read back.
    for (const std::string &name : OddNames)
        if (ProfileFile::FitsOnOneLine(name))
            f.project.AddIgnoreFile(f.dir.path() + name);
    ASSERT_TRUE(SaveProject(f.site, path));
    SiteFixture other;
    ASSERT_TRUE(OpenProject(other.site, path));
    EXPECT_EQ(other.project.IgnoreFiles(), f.project.IgnoreFiles());
    EXPECT_EQ(other.project.TopFiles(), f.project.TopFiles());
}

} // namespace
} // namespace orvane
