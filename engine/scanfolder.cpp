#include "engine/scanfolder.h"

#include "base/host.h"
#include "base/strutil.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/pageprefetch.h"
#include "engine/site.h"
#include "engine/stringlist.h"
#include "project/project.h"
#include "settings/settings.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <utility>
#include <vector>

namespace orvane {

namespace {

struct FolderId
{
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId &) const = default;
};

struct FolderListing
{
    SortedStringList folders;
    SortedStringList files;
};

bool isDirectoryEntry(int dirFd, const dirent *entry)
{
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    // A symbolic link counts as what it points to; a broken one as a file.
    struct stat st
    {
    };
    return ::fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

/// Lists one folder; entries listed before a halt are kept.
FolderListing listFolder(Site &site, const std::string &folder)
{
    std::vector<std::string> folders;
    std::vector<std::string> files;
    if (DIR *dir = ::opendir(folder.c_str())) {
        const int dirFd = ::dirfd(dir);
        const bool ignoreCase = site.settings().IgnoreCase;
        while (const dirent *entry = ::readdir(dir)) {
            site.host().processEvents();
            if (site.HaltRequested)
                break;
            const std::string_view name(entry->d_name);
            if (isDirectoryEntry(dirFd, entry)) {
                if (name != "." && name != "..")
                    folders.emplace_back(name);
            } else if (!site.project().MatchWildCard(std::string(name), ignoreCase)) {
                files.emplace_back(name);
            }
        }
        ::closedir(dir);
    }
    FolderListing listing;
    listing.folders.AddAll(std::move(folders));
    listing.files.AddAll(std::move(files));
    return listing;
}

class Scanner
{
public:
    explicit Scanner(Site &site)
        : m_site(site)
    {
    }

    void scan(const std::string &folderPath, TreeNode *parentNode)
    {
        const std::string folder = IncludeTrailingDelimiter(folderPath);
        struct stat st
        {
        };
        if (::stat(folder.c_str(), &st) != 0)
            return;
        const FolderId id{st.st_dev, st.st_ino};
        for (const FolderId &open : m_open)
            if (open == id)
                return; // a link back to a folder being scanned: leave it empty
        m_open.push_back(id);
        scanListing(folder, listFolder(m_site, folder), parentNode);
        m_open.pop_back();
    }

private:
    void scanListing(const std::string &folder, const FolderListing &listing, TreeNode *parent)
    {
        for (const std::string &name : listing.folders) {
            m_site.host().processEvents();
            if (m_site.HaltRequested)
                return;
            if (m_site.project().IsIgnoredFolder(folder + name))
                continue;
            TreeNode *node = m_site.tree.AddChild(parent, name);
            node->SetImageIndex(ImgFolderCyan);
            node->SetSelectedIndex(ImgFolderCyanOpen);
            m_site.FolderNodes.push_back(node);
            scan(folder + name, node);
        }
        readAhead(folder, listing.files);
        for (const std::string &name : listing.files) {
            m_site.host().processEvents();
            if (m_site.HaltRequested)
                return;
            m_site.host().setStatus(name);
            AddFileNode(m_site, folder + name, parent);
        }
    }

    /// Lets the workers read the folder's pages while the tree grows.
    void readAhead(const std::string &folder, const SortedStringList &files)
    {
        if (!m_site.Prefetcher)
            return;
        std::vector<std::string> pages;
        for (const std::string &name : files) {
            std::string path = folder + name;
            if (ReadsLinksOnLoad(m_site, path))
                pages.push_back(std::move(path));
        }
        m_site.Prefetcher->Enqueue(pages);
    }

    Site &m_site;
    std::vector<FolderId> m_open; // the folders on the way down to the current one
};

/// Puts a page prefetcher at the site's disposal for the length of a scan.
class PrefetchScope
{
public:
    explicit PrefetchScope(Site &site)
        : m_site(site)
        , m_previous(site.Prefetcher)
    {
        const Settings &settings = site.settings();
        if (!m_previous && site.ReadAheadWorkers > 0) {
            m_prefetcher = std::make_unique<PagePrefetcher>(
                ExtractOptions{settings.IgnoreJavaScript, settings.isSpaceValid},
                site.ReadAheadWorkers);
            m_site.Prefetcher = m_prefetcher.get();
        }
    }
    ~PrefetchScope() { m_site.Prefetcher = m_previous; }
    PrefetchScope(const PrefetchScope &) = delete;
    PrefetchScope &operator=(const PrefetchScope &) = delete;

private:
    Site &m_site;
    PagePrefetcher *m_previous;
    std::unique_ptr<PagePrefetcher> m_prefetcher;
};

} // namespace

void ScanFolder(Site &site, const std::string &folder, TreeNode *parentNode)
{
    const PrefetchScope prefetch(site);
    Scanner(site).scan(folder, parentNode);
}

void AddFileNode(Site &site, const std::string &path, TreeNode *parentNode)
{
    TreeNode *node = site.tree.AddChild(parentNode, std::string(ExtractFileName(path)));
    FileObject *object = site.FileObjects.Create(site, node);
    node->SetData(object);
    object->LoadFromFile(path);
    for (const std::string &anchor : object->Anchors) {
        TreeNode *anchorNode = site.tree.AddChild(node, anchor);
        anchorNode->SetImageIndex(ImgAnchor);
        anchorNode->SetSelectedIndex(ImgAnchor);
        anchorNode->SetStateIndex(ImgUnreached);
    }
    object->SetReachState(ReachState::unreached);
    site.host().setFileCount(static_cast<long>(site.FileObjects.size()));
}

} // namespace orvane
