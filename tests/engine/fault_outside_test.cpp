// The scan stays inside what it was given: links that lead back above the
// site, to pseudo file systems or to the same folder again and again end in
// empty folders; only regular files are ever opened; temporary files of a
// replace are never part of the site; paths beyond the system's limit are
// scanned all the same.
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "support/deeptree.h"
#include "support/privatemount.h"
#include "support/sitefixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::SiteFixture;

void link(const std::string &target, const std::string &path)
{
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0) << path;
}

/// Counts the openings of the entries watched, as the system reports them.
class OpenWatch
{
public:
    OpenWatch()
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
    }
    ~OpenWatch() { close(m_fd); }
    bool watch(const std::string &path)
    {
        return inotify_add_watch(m_fd, path.c_str(), IN_OPEN | IN_DONT_FOLLOW) >= 0;
    }
    int openings() const
    {
        alignas(inotify_event) char buffer[4096];
        int count = 0;
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;)
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                count += (event->mask & IN_OPEN) != 0;
                p += sizeof(inotify_event) + event->len;
            }
        return count;
    }

private:
    int m_fd;
};

TEST(FaultOutside, LinksAboveTheSiteOrIntoPseudoFileSystemsStayEmpty)
{
    SiteFixture f;
    const std::string site = f.dir.mkdir("a/site");
    f.dir.write("a/site/index.html", "");
    f.dir.write("a/outside.html", "");
    const struct
    {
        const char *name;
        std::string target;
    } links[] = {
        {"root", "/"},       {"up", ".."},        {"upup", "../.."}, {"self", "."},
        {"home", site},      {"dev", "/dev"},     {"proc", "/proc"}, {"sys", "/sys"},
        {"fds", "/dev/fd/"}, {"pts", "/dev/pts"},
    };
    for (const auto &l : links)
        link(l.target, site + l.name);
    CheckFolder(f.site, site, false);

    for (const auto &l : links) {
        const TreeNode *node = f.node(l.name);
        ASSERT_NE(node, nullptr) << l.name;
        EXPECT_EQ(node->Count(), 0u) << l.name << " -> " << l.target;
    }
    ASSERT_EQ(f.site.FileObjects.size(), 1u);
    EXPECT_EQ(f.site.FileObjects[0]->FullPath, site + "index.html");
    EXPECT_EQ(f.host.messages.size(), 1u) << "the summary only";
}

TEST(FaultOutside, DevicesFifosAndSocketsAreFilesOfKindOtherAndNeverOpened)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("page.html", "<a href=pipe.html>p</a>");
    ASSERT_EQ(mkfifo((d + "pipe.html").c_str(), 0644), 0);
    link("/dev/zero", d + "zero.html");
    link("/dev/null", d + "null.htm");
    link("pipe.html", d + "pipelink.html");
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = d + "sock.html";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    // A device of its own (the zero device) where the system lets us make one.
    const bool device = mknod((d + "device.html").c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0;

    OpenWatch watch;
    ASSERT_TRUE(watch.watch(d + "page.html"));
    OpenWatch specials;
    ASSERT_TRUE(specials.watch(d + "pipe.html"));
    if (device) {
        ASSERT_TRUE(specials.watch(d + "device.html"));
    }
    f.project.AddTopFile(d + "page.html");
    CheckFolder(f.site, d, true);
    close(sock);

    std::vector<std::string> special = {"null.htm", "pipe.html", "pipelink.html", "sock.html",
                                        "zero.html"};
    if (device)
        special.push_back("device.html");
    for (const std::string &name : special) {
        const FileObject *object = f.object(name);
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->Kind, FileKind::other) << name;
        EXPECT_EQ(object->Node->ImageIndex(), ImgBlankPage) << name;
        EXPECT_TRUE(object->Links.empty()) << name;
    }
    EXPECT_EQ(f.object("page.html")->ValidLinks.size(), 1u) << "a FIFO is still a link target";
    EXPECT_GT(watch.openings(), 0) << "the watch sees a page being read";
    EXPECT_EQ(specials.openings(), 0) << "the FIFO and the device are never opened";
    EXPECT_EQ(f.host.messages.size(), 1u) << "the summary only";
}

TEST(FaultOutside, ALatticeOfFolderLinksCostsOneListingPerFolder)
{
    // Level k holds a page and two links to level k+1: 2^levels ways down,
    // one listing per level.
    SiteFixture f;
    const std::string &d = f.dir.path();
    constexpr int Levels = 30;
    for (int k = 0; k <= Levels; ++k)
        f.dir.write("l" + std::to_string(k) + "/page.html", "");
    for (int k = 0; k < Levels; ++k)
        for (const char *name : {"/a", "/b"})
            link("../l" + std::to_string(k + 1), d + "l" + std::to_string(k) + name);
    CheckFolder(f.site, d + "l0", false);

    EXPECT_EQ(f.site.FileObjects.size(), static_cast<size_t>(Levels + 1));
    EXPECT_EQ(f.site.FolderNodes.size(), static_cast<size_t>(2 * Levels));
    std::string path = "l0/";
    for (int k = 1; k <= Levels; ++k) {
        path += "a/";
        EXPECT_NE(f.object(path + "page.html"), nullptr) << path;
    }
}

TEST(FaultOutside, AFolderIsListedThroughALinkOnlyTheFirstTime)
{
    SiteFixture f;
    const std::string &d = f.dir.path();
    f.dir.write("v2/index.html", "<a href=../latest/index.html>");
    link("v2", d + "latest");
    link("v2", d + "old");
    f.dir.write("pics/a.gif", "");
    f.dir.write("en/index.html", "");
    link("../pics", d + "en/pics");
    CheckFolder(f.site, d, false);

    EXPECT_EQ(f.files(),
              (std::vector<std::string>{"en/pics/a.gif", "en/index.html", "latest/index.html",
                                        "pics/a.gif", "v2/index.html"}));
    ASSERT_NE(f.node("old"), nullptr);
    EXPECT_EQ(f.node("old")->Count(), 0u) << "v2 met through a link a second time";
    EXPECT_EQ(f.object("v2/index.html")->ValidLinks.size(), 1u);
}

TEST(FaultOutside, PathsBeyondTheSystemLimitAreScannedAndRead)
{
    // 120 folders of 100-byte names: paths of 12,000 bytes and more, three
    // times what the system takes in one path.
    SiteFixture f;
    constexpr int Depth = 120;
    const std::string name(100, 'd');
    f.dir.write("index.html", "<a href=" + name + "/p.html>");
    const std::string deepest =
        test::MakeDeepFolders(f.dir.path(), name, Depth, [&](int fd, int level) {
            test::WriteFileAt(fd, "p.html",
                              level < Depth ? "<a href=" + name + "/p.html>"
                                            : "<a href=../p.html>");
        });
    ASSERT_GT(deepest.size(), static_cast<size_t>(2 * PATH_MAX));
    f.project.AddTopFile(f.dir.path() + "index.html");
    CheckFolder(f.site, f.dir.path(), true);

    EXPECT_EQ(f.site.FileObjects.size(), static_cast<size_t>(Depth + 1));
    const FileObject *last = f.site.FileObjects.FindFileObject(deepest + "p.html", false);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->ValidLinks.ToVector(), std::vector<std::string>{"../p.html"});
    EXPECT_EQ(f.site.InvalidLinkTotal, 0);
    EXPECT_TRUE(f.orphans().empty()) << "every page is read and its link followed";
    EXPECT_EQ(f.host.messages.size(), 1u) << "the summary only";
}

TEST(FaultOutside, TemporaryFilesOfAReplaceAreNeverShown)
{
    SiteFixture f;
    f.dir.write("index.html", "");
    f.dir.write(".orvane-Ab3dE9.part", "half a page");
    f.dir.write("sub/.orvane-zzzzzz.part", "");
    // Names only like them are the site's own.
    f.dir.write(".orvane-Ab3dE.part", "");
    f.dir.write(".orvane-Ab3dE9.partial", "");
    CheckFolder(f.site, f.dir.path(), false);
    EXPECT_EQ(f.files(), (std::vector<std::string>{".orvane-Ab3dE.part", ".orvane-Ab3dE9.partial",
                                                   "index.html"}));
}

TEST(FaultOutside, ABindMountOfTheSiteOrTheRootInsideItIsAnEmptyFolder)
{
    SiteFixture f;
    const std::string site = f.dir.mkdir("site");
    f.dir.write("site/index.html", "");
    const std::string self = f.dir.mkdir("site/self");
    const std::string root = f.dir.mkdir("site/root");
    test::BindMount selfMount(site, self);
    if (!selfMount.mounted())
        GTEST_SKIP() << selfMount.whyNot();
    test::BindMount rootMount("/", root);
    ASSERT_TRUE(rootMount.mounted()) << rootMount.whyNot();
    CheckFolder(f.site, site, false);
    EXPECT_EQ(f.node("self")->Count(), 0u);
    EXPECT_EQ(f.node("root")->Count(), 0u);
    EXPECT_EQ(f.site.FileObjects.size(), 1u);
}

} // namespace
} // namespace orvane
