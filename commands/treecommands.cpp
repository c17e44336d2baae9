#include "commands/treecommands.h"

#include "base/errors.h"
#include "base/host.h"
#include "base/strutil.h"
#include "commands/deletetree.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/reachability.h"
#include "engine/referrers.h"
#include "engine/site.h"
#include "project/project.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orvane {

namespace {

const char *const Unit = "mainform";

void disableTopLevelItems(TreeMenuState &menu)
{
    menu.OpenWithExternalApp = false;
    menu.OpenWithBrowser = false;
    menu.MarkTop = false;
    menu.IgnoreItem = false;
    menu.BulkIgnoreItem = false;
    menu.DeleteItem = false;
    menu.UnMarkTopAll = false;
    menu.expandAllNodeItem = false;
    menu.collapseAllNodeItem = false;
    menu.ShowProjectWindow = false;
}

/// Excludes the files in order. Their paths join the project's excluded files
/// in one merge first, so that excluding thousands of files costs no search
/// of a long list for each.
void ignoreAll(Site &site, const std::vector<FileObject *> &files)
{
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const FileObject *file : files)
        paths.push_back(file->FullPath);
    site.project().AddIgnoreFiles(paths);
    for (FileObject *file : files)
        file->SetIgnored(true);
}

/// Excludes every file whose path part, as picked by part, equals the selected
/// file's without regard to ASCII case.
template<typename Part>
void ignoreAllLike(Site &site, Part part)
{
    const TreeNode *node = site.tree.Selected();
    ORVANE_ASSERT(node && node->Data(), Unit);
    const std::string key(part(node->Data()->FullPath));
    std::vector<FileObject *> files;
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        FileObject *object = site.FileObjects[i];
        if (SameText(part(object->FullPath), key))
            files.push_back(object);
    }
    ignoreAll(site, files);
}

bool confirmed(Host &host, const std::string &text)
{
    host.beep(Sound::Question);
    return host.message(MessageKind::Confirmation, text, MessageButtons::OkCancel);
}

/// Whether every node from node up to the root is a folder node with a name
/// that can only stand for one entry of its parent folder. An anchor node, or
/// one whose text would lead elsewhere, names no folder of the site.
bool namesSiteFolder(const TreeNode *node)
{
    for (; node && !node->IsRoot(); node = node->Parent()) {
        const std::string &text = node->Text();
        if (node->Data() || text.empty() || text == "." || text == ".." ||
            text.find('/') != std::string::npos)
            return false;
    }
    return true;
}

/// Forgets everything below a deleted folder and removes its node.
void releaseFolderNode(Site &site, TreeNode *node)
{
    TreeUpdateScope update(site.tree);
    std::unordered_set<const TreeNode *> subtree{node};
    std::vector<FileObject *> objects;
    FileTree::ForEachDescendant(node, [&](TreeNode *n) {
        subtree.insert(n);
        if (n->Data())
            objects.push_back(n->Data());
    });
    std::erase_if(site.FolderNodes, [&](TreeNode *n) { return subtree.count(n) > 0; });
    for (FileObject *object : objects)
        ForgetFileObject(object);
    site.tree.Delete(node);
}

/// The folder the tree was scanned from: the one every node lies in, even when
/// the project has named another home folder since.
std::string scannedHome(const Site &site)
{
    return site.tree.Root()->Text();
}

/// Tells the user why a deletion did not happen: a refusal in its own words,
/// any other failure with the given message.
void reportFailedDelete(Host &host, const DeleteResult &result, const std::string &path,
                        const std::string &failure)
{
    const std::string refusal = DeleteRefusalText(result, path);
    host.error(refusal.empty() ? failure : refusal);
}

/// The confirmation's second paragraph: the links that deleting files breaks
/// in pages that stay; empty when there are none.
std::string brokenLinksParagraph(Site &site, const std::vector<const FileObject *> &files)
{
    const BrokenLinks broken = LinksBrokenByDeleting(site.Referrers(), files, BrokenLinkPagesShown);
    if (broken.links == 0)
        return {};
    std::string home = scannedHome(site);
    if (!home.empty() && home.back() != '/')
        home += '/';
    std::string text = "\r\n\r\n" + Tr(BrokenLinksLine, {std::to_string(broken.links)});
    for (const FileObject *page : broken.pages) {
        const std::string &path = page->FullPath;
        text += "\r\n  " + (StartsWith(path, home) ? path.substr(home.size()) : path);
    }
    if (broken.pageCount > broken.pages.size())
        text +=
            "\r\n" + Tr(BrokenLinksMore, {std::to_string(broken.pageCount - broken.pages.size())});
    return text;
}

void deleteFolderNode(Site &site, TreeNode *node)
{
    Host &host = site.host();
    std::vector<const FileObject *> files;
    FileTree::ForEachDescendant(node, [&files](TreeNode *n) {
        if (n->Data())
            files.push_back(n->Data());
    });
    if (!confirmed(host,
                   Tr(QT_TRANSLATE_NOOP("Orvane", "フォルダ'%1'を削除します\r\nよろしいですか？"),
                      {node->Text()}) +
                       brokenLinksParagraph(site, files)))
        return;
    const std::string path = FolderNodePath(node, scannedHome(site));
    const std::string failure =
        Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nの削除に失敗しました"), {path});
    if (!namesSiteFolder(node)) {
        host.error(failure);
        return;
    }
    const DeleteResult result = DeleteFolderTree(scannedHome(site), path, true);
    if (!result.deleted()) {
        reportFailedDelete(host, result, path, failure);
        return;
    }
    releaseFolderNode(site, node);
}

void deleteFileNode(Site &site, TreeNode *node)
{
    Host &host = site.host();
    FileObject *object = node->Data();
    const std::string name(ExtractFileName(object->FullPath));
    if (!confirmed(host,
                   Tr(QT_TRANSLATE_NOOP("Orvane", "'%1'を削除します\r\nよろしいですか？"), {name}) +
                       brokenLinksParagraph(site, {object})))
        return;
    const DeleteResult result = DeleteSiteFile(scannedHome(site), object->FullPath);
    if (!result.deleted()) {
        reportFailedDelete(host, result, object->FullPath,
                           Tr(QT_TRANSLATE_NOOP("Orvane", "ファイルを削除できませんでした")));
        return;
    }
    ForgetFileObject(object);
    site.tree.Delete(node);
}

void setAllExpanded(FileTree &tree, bool expanded)
{
    TreeUpdateScope update(tree);
    tree.Root()->SetExpanded(expanded);
    FileTree::ForEachDescendant(tree.Root(), [expanded](TreeNode *n) { n->SetExpanded(expanded); });
}

} // namespace

TreeMenuState TreeMenuStateFor(const TreeMenuState &previous, bool busy, const TreeNode *selected,
                               const Project &project)
{
    TreeMenuState menu = previous;
    disableTopLevelItems(menu);
    if (busy)
        return menu;
    menu.UnMarkTopAll = true;
    menu.expandAllNodeItem = true;
    menu.collapseAllNodeItem = true;
    menu.ShowProjectWindow = true;
    if (!selected || selected->IsRoot())
        return menu;
    menu.DeleteItem = true;
    menu.IgnoreItem = true;
    const FileObject *file = selected->Data();
    if (!file) {
        menu.IgnoreItemText = IgnoreFolderCaption;
        return menu;
    }
    menu.BulkIgnoreItem = true;
    menu.IgnoreItemText =
        selected->OverlayIndex() == OverlayExcluded ? IncludeFileCaption : IgnoreFileCaption;
    switch (file->Kind) {
    case FileKind::html:
        menu.MarkTop = true;
        menu.MarkTopText =
            project.IndexOfTopFile(file->FullPath) == -1 ? MarkTopCaption : UnmarkTopCaption;
        menu.OpenWithExternalApp = true;
        menu.OpenWithBrowser = true;
        break;
    case FileKind::image:
        menu.OpenWithExternalApp = true;
        menu.OpenWithBrowser = true;
        break;
    case FileKind::other:
        menu.OpenWithBrowser = true;
        break;
    }
    return menu;
}

void MarkTopClick(Site &site, const std::string &markTopText)
{
    TreeNode *node = site.tree.Selected();
    if (!node || !node->Data()) {
        site.host().beep(Sound::Beep);
        return;
    }
    FileObject *file = node->Data();
    if (markTopText == MarkTopCaption) {
        if (file->Kind == FileKind::html)
            MarkTopAndAnalyse(site, node);
        return;
    }
    // The files reached only from this page keep their marks until all marks
    // are removed or the folder is checked again.
    file->SetReachState(ReachState::reached);
    site.project().RemoveTopFile(file->FullPath);
}

void UnMarkTopAllClick(Site &site)
{
    Host &host = site.host();
    BusyScope busy(site);
    host.setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "TOPマークの削除中")));
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        host.processEvents();
        if (site.HaltRequested)
            break;
        FileObject *object = site.FileObjects[i];
        object->SetReachState(ReachState::unreached);
        for (size_t k = 0; k < object->Node->Count(); ++k)
            object->Node->Child(k)->SetStateIndex(ImgUnreached);
    }
    site.project().ClearTopFiles();
    AnalyseReachability(site);
    host.setStatus({});
}

void IgnoreItemClick(Site &site)
{
    TreeNode *node = site.tree.Selected();
    if (!node)
        return;
    if (FileObject *file = node->Data())
        file->SetIgnored(node->OverlayIndex() != OverlayExcluded);
    else
        IgnoreFolderFiles(site, node);
}

void IgnoreFolderFiles(Site &site, TreeNode *node)
{
    ORVANE_ASSERT(node && !node->Data(), Unit);
    std::vector<FileObject *> files;
    FileTree::ForEachDescendant(node, [&](TreeNode *n) {
        if (n->Data())
            files.push_back(n->Data());
    });
    ignoreAll(site, files);
}

void SameNameIgnoreItemClick(Site &site)
{
    ignoreAllLike(site, [](std::string_view path) { return ExtractFileName(path); });
}

void SameExtIgnoreItemClick(Site &site)
{
    ignoreAllLike(site, [](std::string_view path) { return ExtractFileExt(path); });
}

std::string FolderNodePath(const TreeNode *node, const std::string &homeDir)
{
    std::string path;
    for (; node && !node->IsRoot(); node = node->Parent())
        path = node->Text() + "/" + path;
    return homeDir + path;
}

void DeleteItemClick(Site &site)
{
    TreeNode *node = site.tree.Selected();
    if (!node)
        return;
    if (node->IsRoot()) {
        site.host().error(Tr(QT_TRANSLATE_NOOP("Orvane", "指定したアイテムは削除できません")));
        return;
    }
    if (node->Data())
        deleteFileNode(site, node);
    else
        deleteFolderNode(site, node);
}

DoubleClickAction DoubleClickActionFor(const TreeNode *selected, bool shift)
{
    if (!selected || selected->IsRoot() || !selected->Data())
        return DoubleClickAction::None;
    if (shift)
        return DoubleClickAction::Browser;
    if (selected->Data()->Kind == FileKind::other)
        return DoubleClickAction::Beep;
    return DoubleClickAction::Open;
}

void expandAllNodeItemClick(FileTree &tree)
{
    setAllExpanded(tree, true);
}

void collapseAllNodeItemClick(FileTree &tree)
{
    setAllExpanded(tree, false);
}

} // namespace orvane
