#include "engine/reachability.h"

#include "base/host.h"
#include "base/usertext.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/parallelfor.h"
#include "engine/site.h"
#include "project/project.h"
#include "settings/settings.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace orvane {

namespace {

// How far ahead of the link followed the walk fetches what links need.
constexpr size_t NodesAhead = 8;
constexpr size_t PagesAhead = 4;
// How many pages ahead of the page walked the walk starts fetching what the
// page's first links need, one step a page.
constexpr size_t PageSteps = 3;
// The walk follows the links of this many pages at a time on every core, in
// pieces of PiecePages; a run takes a few milliseconds, so events keep their
// pace. Runs of fewer pages go on one thread.
constexpr size_t RunPages = 2048;
constexpr size_t PiecePages = 128;

void enterPage(Site &site, std::vector<FileObject *> &pages, FileObject *page)
{
    site.host().processEvents();
    page->SetReachState(ReachState::reached);
    pages.push_back(page);
}

/// What following the links of some pages found not marked yet: anchors and
/// pages, each perhaps more than once, and the pages whose targets must be
/// resolved afresh.
struct WalkFinds
{
    std::vector<TreeNode *> anchors;
    std::vector<FileObject *> pages;
    std::vector<FileObject *> unresolved;
};

/// Notes what following one valid link reaches or marks for the first time.
void noteTarget(const WalkTarget &target, WalkFinds &finds)
{
    if (!target.object || target.object->Ignored)
        return;
    if (target.anchorNode && target.anchorNode->StateIndex() != ImgReached)
        finds.anchors.push_back(target.anchorNode);
    if (target.object->ReachState == ReachState::unreached)
        finds.pages.push_back(target.object);
}

/// Follows the valid links of the pages, changing nothing, so that pieces of
/// a run may be followed on several threads at once.
void followLinks(std::span<FileObject *const> pages, uint64_t stamp, WalkFinds &finds)
{
    for (size_t p = 0; p < pages.size(); ++p) {
        for (size_t step = 0; step < PageSteps; ++step)
            if (p + PageSteps - step < pages.size())
                pages[p + PageSteps - step]->PrefetchForWalk(static_cast<int>(step), stamp);
        FileObject *page = pages[p];
        // Resolved by CheckLinks, when still valid.
        const WalkTargetList *targets = page->WalkTargets(stamp);
        if (!targets) {
            finds.unresolved.push_back(page);
            continue;
        }
        // The pages of the first links; their nodes came with the page ahead.
        for (size_t i = 0; i < PagesAhead; ++i)
            targets->Prefetch(i, true);
        for (size_t i = 0; i < targets->size(); ++i) {
            // The links ahead, their nodes first and their pages later.
            targets->Prefetch(i + NodesAhead, false);
            targets->Prefetch(i + PagesAhead, true);
            noteTarget((*targets)[i], finds);
        }
    }
}

/// Marks what was found and queues the pages reached for the first time. The
/// links of a page whose targets are not kept are resolved here first, on
/// the calling thread.
void takeFinds(Site &site, WalkFinds &finds, std::vector<FileObject *> &pages)
{
    for (const FileObject *page : finds.unresolved) {
        for (size_t i = 0; i < page->ValidLinks.size() && !site.HaltRequested; ++i) {
            site.host().processEvents();
            noteTarget(page->ResolveWalkTarget(page->ValidLinks.BaseIndex(i)), finds);
        }
    }
    for (TreeNode *anchor : finds.anchors)
        anchor->SetStateIndex(ImgReached);
    for (FileObject *page : finds.pages) {
        if (site.HaltRequested)
            break;
        if (page->ReachState == ReachState::unreached)
            enterPage(site, pages, page);
    }
    finds.anchors.clear();
    finds.pages.clear();
    finds.unresolved.clear();
}

} // namespace

void WalkFrom(Site &site, TreeNode *start)
{
    // The pages in the order they are reached, followed a run at a time: a
    // page ahead is known long before its links are followed, so what they
    // need is fetched into the cache in time, and the pages of a run are
    // followed on every core. What is reached and marked is what a walk in
    // any other order reaches and marks. Nothing the resolution depends on
    // changes during the walk.
    const uint64_t stamp = site.ResolutionStamp();
    const unsigned threads = ComputeThreads();
    std::vector<FileObject *> pages;
    std::vector<WalkFinds> finds(RunPages / PiecePages);
    enterPage(site, pages, start->Data());
    for (size_t done = 0; done < pages.size();) {
        site.host().processEvents();
        if (site.HaltRequested)
            return;
        const std::span<FileObject *const> run(pages.data() + done,
                                               std::min(RunPages, pages.size() - done));
        const size_t pieces = (run.size() + PiecePages - 1) / PiecePages;
        const auto follow = [&](size_t k) {
            followLinks(
                run.subspan(k * PiecePages, std::min(PiecePages, run.size() - k * PiecePages)),
                stamp, finds[k]);
        };
        if (pieces > 1 && threads > 1)
            ParallelFor(0, pieces, threads, follow);
        else
            for (size_t k = 0; k < pieces; ++k)
                follow(k);
        done += run.size();
        for (size_t k = 0; k < pieces && !site.HaltRequested; ++k)
            takeFinds(site, finds[k], pages);
    }
}

void WalkFromTopPages(Site &site)
{
    if (site.HaltRequested)
        return;
    Project &project = site.project();
    // An entry whose file has no node leaves the list, all of them in one
    // pass: a project moved elsewhere may name a great many.
    project.RemoveTopFilesWhere(
        [&](const std::string &entry) { return !site.FindFileNode(entry, true); });
    const std::vector<std::string> tops = project.TopFiles();
    for (const std::string &entry : tops) {
        TreeNode *node = site.FindFileNode(entry, true);
        WalkFrom(site, node);
        node->Data()->SetReachState(ReachState::top);
    }
    site.tree.Select(site.tree.Root());
}

void ApplyIgnoreList(Site &site)
{
    if (site.HaltRequested)
        return;
    Project &project = site.project();
    project.RemoveIgnoreFilesWhere(
        [&](const std::string &entry) { return !site.FindFileNode(entry, true); });
    const std::vector<std::string> ignored = project.IgnoreFiles();
    for (const std::string &entry : ignored)
        site.FindFileNode(entry, true)->Data()->SetIgnored(true);
}

void MarkFolderChain(Site &site, TreeNode *node)
{
    for (; node; node = node->Parent()) {
        site.host().processEvents();
        if (node->IsRoot() || node->ImageIndex() == ImgFolderCyan)
            return;
        node->SetImageIndex(ImgFolderCyan);
        node->SetSelectedIndex(ImgFolderCyanOpen);
    }
}

void ColourFolders(Site &site)
{
    BusyScope busy(site);
    Host &host = site.host();
    host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "フォルダの色をセット中")));
    for (size_t i = 0; i < site.FolderNodes.size(); ++i) {
        host.processEvents();
        if (site.HaltRequested)
            break;
        host.setCountPanel(static_cast<long>(i));
        site.FolderNodes[i]->SetImageIndex(ImgFolderYellow);
        site.FolderNodes[i]->SetSelectedIndex(ImgFolderYellowOpen);
    }
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        host.processEvents();
        if (site.HaltRequested)
            break;
        host.setCountPanel(static_cast<long>(i));
        const FileObject *object = site.FileObjects[i];
        const bool problem = object->ReachState == ReachState::unreached ||
                             (object->Kind == FileKind::html && object->Blue);
        if (!object->Ignored && problem)
            MarkFolderChain(site, object->Node->Parent());
    }
    host.setStatus({});
}

void AnalyseReachability(Site &site)
{
    {
        BusyScope busy(site);
        TreeUpdateScope update(site.tree);
        WalkFromTopPages(site);
        ApplyIgnoreList(site);
        for (size_t i = 0; i < site.FileObjects.size(); ++i) {
            site.host().processEvents();
            site.FileObjects[i]->UpdateImage();
        }
        ColourFolders(site);
    }
    site.host().setStatus({});
}

void MarkTopAndAnalyse(Site &site, TreeNode *node)
{
    site.host().setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "ファイルの依存関係をチェック中")));
    {
        BusyScope busy(site);
        TreeUpdateScope update(site.tree);
        WalkFrom(site, node);
        FileObject *object = node->Data();
        object->SetReachState(ReachState::top);
        object->SetIgnored(false);
        site.project().AddTopFile(object->FullPath);
        site.project().RemoveIgnoreFile(object->FullPath);
        AnalyseReachability(site);
        site.host().setStatus({});
    }
}

} // namespace orvane
