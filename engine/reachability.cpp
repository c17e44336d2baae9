#include "engine/reachability.h"

#include "base/host.h"
#include "base/usertext.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/site.h"
#include "project/project.h"
#include "settings/settings.h"

#include <string>
#include <vector>

namespace orvane {

namespace {

// A frame of the walk: a page and the next of its valid links to follow.
// The walk can hold most of the site's pages at once, so a frame is small.
struct WalkFrame
{
    FileObject *object;
    uint32_t nextLink;
};

// How far ahead of the link followed the walk fetches what links need.
constexpr size_t NodesAhead = 8;
constexpr size_t PagesAhead = 4;

void enterPage(Site &site, std::vector<WalkFrame> &stack, TreeNode *node)
{
    site.host().processEvents();
    FileObject *object = node->Data();
    object->SetReachState(ReachState::reached);
    stack.push_back({object, 0});
}

} // namespace

void WalkFrom(Site &site, TreeNode *start)
{
    // An explicit stack of the pages being walked, each with the next link to
    // follow: the same visits in the same order as walking recursively, without
    // a call level per page. Nothing the resolution depends on changes during
    // the walk.
    const uint64_t stamp = site.ResolutionStamp();
    std::vector<WalkFrame> stack;
    enterPage(site, stack, start);
    while (!stack.empty()) {
        WalkFrame &frame = stack.back();
        if (frame.nextLink >= frame.object->ValidLinks.size()) {
            stack.pop_back();
            continue;
        }
        site.host().processEvents();
        if (site.HaltRequested) {
            stack.pop_back();
            continue;
        }
        const size_t i = frame.nextLink++;
        // Resolved by CheckLinks, when still valid.
        const WalkTargetList *targets = frame.object->WalkTargets(stamp);
        if (targets) {
            // The links ahead, their nodes first and their pages later.
            targets->Prefetch(i + NodesAhead, false);
            targets->Prefetch(i + PagesAhead, true);
        }
        const WalkTarget target =
            targets ? (*targets)[i]
                    : frame.object->ResolveWalkTarget(frame.object->ValidLinks.BaseIndex(i));
        if (!target.object || target.object->Ignored)
            continue;
        if (target.anchorNode)
            target.anchorNode->SetStateIndex(ImgReached);
        if (target.object->ReachState == ReachState::unreached)
            enterPage(site, stack, target.object->Node);
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
