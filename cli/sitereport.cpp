#include "cli/sitereport.h"

#include "base/usertext.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/linkhints.h"
#include "engine/site.h"
#include "project/project.h"

#include <algorithm>
#include <numeric>

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

const LinkHints *HintsForReport(Site &site)
{
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        if (!site.FileObjects[i]->InvalidLinks.empty())
            return &site.Hints();
    }
    return nullptr;
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

std::vector<InvalidLinkEntry> InvalidLinksInPageOrder(const FileObject &page,
                                                      const LinkHints *hints)
{
    std::vector<InvalidLinkEntry> entries;
    entries.reserve(page.InvalidLinks.size());
    std::vector<uint32_t> ranks;
    ranks.reserve(page.InvalidLinks.size());
    for (size_t i = 0; i < page.InvalidLinks.size(); ++i) {
        const size_t index = page.InvalidLinks.BaseIndex(i);
        const std::optional<LinkPlace> place = page.PlaceOf(index);
        const InvalidReason reason =
            i < page.InvalidReasons.size() ? page.InvalidReasons[i] : InvalidReason::missingFile;
        entries.push_back({page.LinkTarget(index),
                           place ? place->line : 0u,
                           place ? place->count : 1u,
                           reason,
                           {}});
        if (hints) {
            if (auto hint = hints->For(page, i))
                entries.back().suggestion = std::move(hint->link);
        }
        ranks.push_back(place ? place->order : 0u);
    }
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&ranks](size_t a, size_t b) { return ranks[a] < ranks[b]; });
    std::vector<InvalidLinkEntry> sorted;
    sorted.reserve(entries.size());
    for (const size_t i : order)
        sorted.push_back(std::move(entries[i]));
    return sorted;
}

const char *InvalidReasonText(InvalidReason reason)
{
    switch (reason) {
    case InvalidReason::missingFile:
        return QT_TRANSLATE_NOOP("Orvane", "missing file");
    case InvalidReason::missingAnchor:
        return QT_TRANSLATE_NOOP("Orvane", "missing anchor");
    case InvalidReason::fileUrl:
        return QT_TRANSLATE_NOOP("Orvane", "file URL");
    }
    return QT_TRANSLATE_NOOP("Orvane", "invalid");
}

const char *ReferrerStateText(ReferrerState state)
{
    switch (state) {
    case ReferrerState::top:
    case ReferrerState::reached:
        return "reached";
    case ReferrerState::unreached:
        return "unreached";
    case ReferrerState::excluded:
        return "excluded";
    }
    return "unreached";
}

const char *OrphanReasonText(OrphanReason reason)
{
    switch (reason) {
    case OrphanReason::none:
        break;
    case OrphanReason::noReferrer:
        return QT_TRANSLATE_NOOP("Orvane", "no page links here");
    case OrphanReason::onlyOrphanedReferrers:
        return QT_TRANSLATE_NOOP("Orvane",
                                 "every page linking here is itself orphaned or excluded");
    }
    return "";
}

} // namespace orvane::cli
