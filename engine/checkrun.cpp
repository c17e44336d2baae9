#include "engine/checkrun.h"

#include "base/errors.h"
#include "base/host.h"
#include "base/inputfile.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "base/usertext.h"
#include "engine/fileobject.h"
#include "engine/linkhints.h"
#include "engine/parallelfor.h"
#include "engine/reachability.h"
#include "engine/referrers.h"
#include "engine/scanfolder.h"
#include "engine/site.h"
#include "project/project.h"
#include "project/projectfile.h"
#include "settings/settings.h"

#include <algorithm>
#include <chrono>

#include <sys/stat.h>

namespace orvane {

bool DirectoryExists(const std::string &path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string &path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void OpenFolder(Site &site, const std::string &path)
{
    {
        BusyScope busy(site);
        site.project().ClearTopFiles();
        site.project().ClearIgnoreFiles();
        CheckFolder(site, path, false);
    }
    site.project().SetFileName({});
    site.host().setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "トップページを指定してください")));
}

void CheckFolder(Site &site, const std::string &path, bool analyse)
{
    site.InvalidLinkTotal = 0;
    site.FilesWithInvalidLinks = 0;
    if (path.empty())
        return;
    Host &host = site.host();
    if (!DirectoryExists(path)) {
        host.error(Tr(QT_TRANSLATE_NOOP("Orvane", "ディレクトリが存在しません\r\n%1"), {path}));
        return;
    }
    site.tree.Select(nullptr);
    // Links resolve to absolute, expanded paths; the files' paths must be of
    // the same form, or no link could ever find its target.
    site.project().SetHomeDir(ExpandFileName(path));
    site.tree.Root()->SetText(site.project().HomeDir());
    LoadSite(site, site.project().HomeDir());
    host.setStatus({});
    if (analyse)
        AnalyseReachability(site);
    if (site.settings().HideInfoBoxAfterCheck) {
        host.beep(Sound::Plain);
        return;
    }
    host.beep(Sound::Asterisk);
    host.information(
        Tr(QT_TRANSLATE_NOOP("Orvane", "無効リンクを含むファイルの数 %1\r\n無効リンクの総数 %2"),
           {std::to_string(site.FilesWithInvalidLinks), std::to_string(site.InvalidLinkTotal)}));
}

void LoadSite(Site &site, const std::string &folder)
{
    BusyScope busy(site);
    Host &host = site.host();
    host.processEvents();
    site.tree.Select(nullptr);
    TreeUpdateScope update(site.tree);
    // The old tree always goes completely, so no node is left referring to a
    // destroyed file object.
    site.tree.Clear();
    host.clearLinkLists();
    site.FileObjects.DestroyAll();
    ORVANE_ASSERT(site.FileObjects.empty(), "OpenFiles");
    site.FolderNodes.clear();
    if (!site.HaltRequested)
        ScanFolder(site, folder, site.tree.Root());
    host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "リンク先の有無をチェック中")));
    CheckAllLinks(site);
    site.tree.Root()->SetExpanded(true);
}

void CheckAllLinks(Site &site)
{
    // Classifying changes nothing, so a batch of pages is classified on every
    // core; the results are then taken over in order, one page per event pass,
    // as checking the pages one by one would. A batch is sized to take a few
    // milliseconds, so that events keep their pace: a link costs more on a
    // site too large for the processor's caches.
    constexpr size_t BatchObjects = 1024;
    constexpr auto BatchTime = std::chrono::milliseconds(6);
    size_t batchLinks = 20000;
    const unsigned threads = ComputeThreads();
    FileObjectList &objects = site.FileObjects;
    std::vector<LinkCheck> checks;
    for (size_t first = 0; first < objects.size();) {
        size_t last = first;
        size_t links = 0;
        while (last < objects.size() && last - first < BatchObjects && links < batchLinks)
            links += objects[last++]->Links.size();
        checks.assign(last - first, {});
        const auto start = std::chrono::steady_clock::now();
        ParallelFor(first, last, links < 256 ? 1 : threads,
                    [&](size_t i) { checks[i - first] = objects[i]->ClassifyLinks(); });
        batchLinks =
            NextBatchLinks(batchLinks, std::chrono::steady_clock::now() - start, BatchTime);
        for (size_t i = first; i < last; ++i) {
            site.host().processEvents();
            objects[i]->ApplyLinkCheck(std::move(checks[i - first]));
        }
        first = last;
    }
}

size_t NextBatchLinks(size_t links, std::chrono::steady_clock::duration took,
                      std::chrono::steady_clock::duration aim)
{
    constexpr size_t Fewest = 1000;
    constexpr size_t Most = 80000;
    if (took > aim)
        return std::max(Fewest, links / 2);
    if (took < aim / 2)
        return std::min(Most, links * 2);
    return links;
}

void RecheckLinks(Site &site)
{
    {
        BusyScope busy(site);
        Host &host = site.host();
        host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "処理中")));
        for (size_t i = 0; i < site.FileObjects.size(); ++i) {
            host.processEvents();
            if (site.HaltRequested)
                break;
            if (site.FileObjects[i]->Kind == FileKind::html)
                site.FileObjects[i]->CheckLinks();
        }
        for (size_t i = 0; i < site.FileObjects.size(); ++i) {
            host.processEvents();
            if (site.HaltRequested)
                break;
            site.FileObjects[i]->UpdateImage();
        }
        if (TreeNode *selected = site.tree.Selected())
            ShowLinkLists(site, selected);
        AnalyseReachability(site);
        host.setStatus({});
    }
}

static bool addLinks(Site &site, LinkList list, const FileObject &page, const LinkSubset &links)
{
    const LinkHints *hints = list == LinkList::Invalid ? &site.Hints() : nullptr;
    for (size_t i = 0; i < links.size(); ++i) {
        site.host().processEvents();
        if (site.HaltRequested)
            return false;
        site.host().addLink(list, std::string(page.LinkTarget(links.BaseIndex(i))));
        if (hints) {
            if (const auto hint = hints->For(page, i))
                site.host().setLinkHint(list, *hint);
        }
    }
    return true;
}

/// The path of a file below the folder the tree was scanned from.
static std::string shownPath(const Site &site, const std::string &fullPath)
{
    std::string_view home = site.tree.Root()->Text();
    if (!home.empty() && home.back() == '/')
        home.remove_suffix(1);
    if (!home.empty() && fullPath.size() > home.size() + 1 && StartsWith(fullPath, home) &&
        fullPath[home.size()] == '/')
        return fullPath.substr(home.size() + 1);
    return fullPath;
}

static void showReferrers(Site &site, const FileObject &object)
{
    const ReferrerTable &table = site.Referrers();
    site.host().setOrphanReason(OrphanReasonOf(table, object));
    for (const Referrer &referrer : table.Of(object)) {
        site.host().processEvents();
        if (site.HaltRequested)
            return;
        const FileObject &page = *table.Page(referrer);
        site.host().addReferrer({page.FullPath, shownPath(site, page.FullPath),
                                 std::string(page.LinkTarget(referrer.link)), table.Line(referrer),
                                 ReferrerStateOf(page)});
    }
}

void ShowLinkLists(Site &site, TreeNode *node)
{
    site.host().clearLinkLists();
    if (!node || !node->Data())
        return;
    const FileObject &object = *node->Data();
    if (object.Kind == FileKind::html &&
        !(addLinks(site, LinkList::Valid, object, object.ValidLinks) &&
          addLinks(site, LinkList::Invalid, object, object.InvalidLinks) &&
          addLinks(site, LinkList::External, object, object.ExternalLinks)))
        return;
    showReferrers(site, object);
}

void ReopenFolder(Site &site)
{
    BusyScope busy(site);
    if (DirectoryExists(site.project().HomeDir()))
        CheckFolder(site, site.project().HomeDir(), true);
}

bool OpenProject(Site &site, const std::string &path)
{
    // A FIFO or a device is no project file, whatever its name: reading it
    // could hold the program or never end.
    if (InputFileKindOf(path) == InputFileKind::other && !DirectoryExists(path)) {
        site.host().error(NotRegularFileMessage(path));
        return false;
    }
    if (!FileExists(path)) {
        site.host().error(Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nが見つかりません"), {path}));
        return false;
    }
    bool checked = false;
    {
        BusyScope busy(site);
        ReadProjectFile(path, site.project());
        if (!site.project().HomeDir().empty()) {
            CheckFolder(site, site.project().HomeDir(), true);
            checked = true;
        }
    }
    if (checked)
        site.project().SetFileName(path);
    return true;
}

bool SaveProject(Site &site, const std::string &path)
{
    try {
        WriteProjectFile(path, site.project());
    } catch (const EWriteError &e) {
        site.host().error(e.what());
        return false;
    }
    site.project().SetFileName(path);
    return true;
}

} // namespace orvane
