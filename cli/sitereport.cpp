#include "cli/sitereport.h"

#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/site.h"
#include "project/project.h"

#include <algorithm>

namespace orvane::cli {

namespace {

std::string folderPath(const TreeNode *node)
{
    std::vector<const std::string *> names;
    for (; node && !node->IsRoot(); node = node->Parent())
        names.push_back(&node->Text());
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path += **it + "/";
    return path;
}

bool isOrphan(const FileObject &object)
{
    return !object.Ignored && object.ReachState == ReachState::unreached;
}

} // namespace

std::string RelativePath(const Site &site, const std::string &fullPath)
{
    const std::string &home = site.project().HomeDir();
    if (!home.empty() && fullPath.compare(0, home.size(), home) == 0)
        return fullPath.substr(home.size());
    return fullPath;
}

std::vector<const FileObject *> Orphans(const Site &site)
{
    std::vector<const FileObject *> orphans;
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        if (isOrphan(*site.FileObjects[i]))
            orphans.push_back(site.FileObjects[i]);
    }
    return orphans;
}

std::vector<std::string> AttentionFolders(const Site &site)
{
    std::vector<std::string> folders;
    for (const TreeNode *node : site.FolderNodes) {
        if (node->ImageIndex() == ImgFolderCyan)
            folders.push_back(folderPath(node));
    }
    return folders;
}

bool HasFindings(const Site &site)
{
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        const FileObject &object = *site.FileObjects[i];
        if (!object.InvalidLinks.empty() || isOrphan(object))
            return true;
    }
    return false;
}

} // namespace orvane::cli
