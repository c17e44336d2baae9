// A page larger than the memory the program may use: the user is told that
// memory could not be had, the page simply has no links, and the check of the
// rest of the site goes on.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "support/faultsupport.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace orvane {
namespace {

using test::SiteFixture;

/// The address space the process uses now, in bytes.
unsigned long long addressSpaceInUse()
{
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    statm >> pages;
    return pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
}

TEST(FaultMemory, APageBeyondTheMemoryLimitHasNoLinksAndTheCheckGoesOn)
{
    if (test::AddressSanitizerActive)
        GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
    SiteFixture f;
    const std::string &d = f.dir.path();
    if (!test::MakeSparseFile(d + "huge.html", 16ULL << 30, "<a href=a.html>", "<a href=b.html>"))
        GTEST_SKIP() << "no sparse files here";
    f.dir.write("a.html", "<a href=b.html>b</a>");
    f.dir.write("b.html", "<a href=a.html>a</a><a href=missing.html>m</a>");
    f.dir.write("z.html", "<a href=a.html>a</a>");
    f.project.AddTopFile(d + "a.html");
    {
        // Room for the program, far too little for the page.
        test::ScopedLimit limit(RLIMIT_AS, addressSpaceInUse() + (1ULL << 30));
        ASSERT_TRUE(limit.active());
        CheckFolder(f.site, d, true);
    }
    ASSERT_EQ(f.host.messages.size(), 2u);
    EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.host.messages[0].text, "メモリーを確保できません");
    EXPECT_EQ(f.host.messages[1].text, "無効リンクを含むファイルの数 1\r\n無効リンクの総数 1");
    EXPECT_TRUE(f.object("huge.html")->Links.empty());
    EXPECT_EQ(f.object("z.html")->ValidLinks.size(), 1u) << "pages after it are read";
    EXPECT_EQ(f.orphans(), (std::vector<std::string>{"huge.html", "z.html"}));
    EXPECT_EQ(f.site.BusyCount, 0);
}

} // namespace
} // namespace orvane
