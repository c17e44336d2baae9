// A link text's way to a local path: SplitLink, URLToPath, LinkToPath and
// FileUrlToPath give well-formed absolute paths for any text, and CheckLinks
// puts every non-empty link of a page into exactly one of its three lists,
// says why of each invalid one, and under ModernLinks only makes valid more.
#include "base/strutil.h"
#include "base/urlpath.h"
#include "engine/fileobject.h"
#include "engine/fileurl.h"
#include "engine/site.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "settings/settings.h"
#include "support/fuzzinput.h"
#include "support/recordinghost.h"

#include <set>
#include <string_view>
#include <vector>

using namespace orvane;

namespace {

/// Absolute, every "." and ".." resolved, no empty segment.
bool isExpanded(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return false;
    if (path.find("//") != std::string_view::npos)
        return false;
    for (std::string_view bad : {"/./", "/../"})
        if (path.find(bad) != std::string_view::npos)
            return false;
    const auto endsWith = [&](std::string_view tail) {
        return path.size() >= tail.size() && path.substr(path.size() - tail.size()) == tail;
    };
    return !endsWith("/.") && !endsWith("/..");
}

/// selfName: the page's own name, which may hold a "\\" that is no separator.
void checkLocalPath(const std::string &path, bool selfName)
{
    FUZZ_CHECK(isExpanded(path));
    FUZZ_CHECK(ExpandFileName(path) == path);
    if (!selfName)
        FUZZ_CHECK(path.find('\\') == std::string::npos);
}

struct World
{
    test::RecordingHost host;
    Settings settings;
    MemoryProjectView view;
    Project project{view};
    Site site{host, settings, project};

    FileObject *addPage(const std::string &path)
    {
        TreeNode *node = site.tree.AddChild(site.tree.Root(), std::string(path));
        FileObject *object = site.FileObjects.Create(site, node);
        node->SetData(object);
        object->FullPath = path;
        site.FileObjects.IndexPath(object);
        return object;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.byte();
    World world;
    world.settings.IgnoreCase = (mode & 1) != 0;
    world.settings.CheckLocalFile = (mode & 2) ? 1 : 0;
    if (mode & 4)
        world.project.SetServerRoot("/srv/root/");
    world.settings.DefaultFileName = in.upTo('\x01');
    std::string pageName = in.upTo('\x01');
    if (pageName.empty() || pageName.find('/') != std::string::npos)
        pageName = "page.html";
    FileObject *page = world.addPage("/site/" + pageName);
    FileObject *index = world.addPage("/site/index.html");
    index->Anchors.Add("top");
    index->Targets.Add("sec 1");
    index->Targets.Add("%41");

    do {
        const std::string link = in.upTo('\x02');
        if (link.empty())
            continue;
        page->Links.Add(link);
        const auto [path, anchor] = page->SplitLink(link);
        // Only the page's own name, standing in for an empty path, may hold
        // them: a link to "#top" of "faq#1.html" has the path "faq#1.html".
        if (path != pageName) {
            FUZZ_CHECK(path.find('#') == std::string::npos);
            FUZZ_CHECK(path.find('?') == std::string::npos);
        } else if (pageName != "." && pageName != "..") {
            FUZZ_CHECK(URLToPath(page->FullPath, path) == page->FullPath);
        }
        checkLocalPath(URLToPath(page->FullPath, path), path == pageName);
        checkLocalPath(world.project.LinkToPath(page->FullPath, path), path == pageName);
        if (const auto local = FileUrlToPath(link)) {
            FUZZ_CHECK(!local->empty() && local->front() == '/');
            FUZZ_CHECK(local->find_first_of("\\|") == std::string::npos);
        }
    } while (!in.empty());

    world.settings.ModernLinks = false;
    page->CheckLinks();
    const std::vector<std::string> classicValid = page->ValidLinks.ToVector();
    const std::vector<std::string> classicExternal = page->ExternalLinks.ToVector();
    world.settings.ModernLinks = true;
    page->CheckLinks();
    for (const std::string &link : classicValid) {
        bool stillValid = false;
        for (size_t i = 0; i < page->ValidLinks.size() && !stillValid; ++i)
            stillValid = page->ValidLinks[i] == link;
        FUZZ_CHECK(stillValid);
    }
    FUZZ_CHECK(page->ExternalLinks.ToVector() == classicExternal);
    FUZZ_CHECK(page->InvalidReasons.size() == page->InvalidLinks.size());
    world.settings.ModernLinks = (mode & 8) != 0;
    page->CheckLinks();
    std::set<std::string> classified;
    for (const LinkSubset *list : {&page->ValidLinks, &page->InvalidLinks, &page->ExternalLinks}) {
        for (size_t i = 0; i < list->size(); ++i)
            FUZZ_CHECK(classified.insert((*list)[i]).second); // in one list only, once
    }
    for (const std::string &link : page->Links) {
        const bool listed = classified.count(link) > 0;
        if (link.empty()) {
            FUZZ_CHECK(!listed);
            continue;
        }
        // Only a page-relative link that names neither a file nor an anchor,
        // such as a bare query, is put in no list.
        const auto [path, anchor] = page->SplitLink(link);
        const std::string upper = AsciiUpper(link);
        const bool internal = link.find("://") == std::string::npos &&
                              upper.find("MAILTO:") == std::string::npos &&
                              upper.find("NEWS:") == std::string::npos;
        const bool nothing = internal && link.front() != '/' && path.empty() && anchor.empty();
        FUZZ_CHECK(listed != nothing);
    }
    return 0;
}
