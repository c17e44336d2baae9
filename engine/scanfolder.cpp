#include "engine/scanfolder.h"

#include "base/atomicfile.h"
#include "base/host.h"
#include "base/longpath.h"
#include "base/mounts.h"
#include "base/strutil.h"
#include "base/uniquefd.h"
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

#include <deque>
#include <memory>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

namespace orvane {

namespace {

// The reading buffer keeps its size from page to page; after a page larger
// than this it is given back, so one huge page is not held to the end.
constexpr size_t KeptReadBufferBytes = size_t{64} << 20;

struct FolderId
{
    dev_t device;
    ino_t inode;
    auto operator<=>(const FolderId &) const = default;
};

FolderId idOf(const struct stat &st)
{
    return {st.st_dev, st.st_ino};
}

enum class EntryKind { folder, linkedFolder, file, specialFile };

/// The entries of one folder as the scan takes them: folders and files in
/// case-insensitive order, with the few that need telling apart on the side.
struct FolderListing
{
    SortedStringList folders;
    SortedStringList files;
    std::unordered_set<std::string> linkedFolders; // reached through a symbolic link
    std::unordered_set<std::string> specialFiles;  // FIFOs, devices, sockets: never read
};

EntryKind kindOfMode(mode_t mode, bool throughLink)
{
    if (S_ISDIR(mode))
        return throughLink ? EntryKind::linkedFolder : EntryKind::folder;
    return S_ISREG(mode) ? EntryKind::file : EntryKind::specialFile;
}

EntryKind kindOf(int dirFd, const dirent *entry)
{
    switch (entry->d_type) {
    case DT_DIR:
        return EntryKind::folder;
    case DT_REG:
        return EntryKind::file;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return EntryKind::specialFile;
    }
    struct stat st
    {
    };
    if (entry->d_type == DT_UNKNOWN) {
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::file;
        if (!S_ISLNK(st.st_mode))
            return kindOfMode(st.st_mode, false);
    }
    // A symbolic link counts as what it points to; a broken one as a file,
    // whose reading then fails as for any file that cannot be opened.
    if (::fstatat(dirFd, entry->d_name, &st, 0) != 0)
        return EntryKind::file;
    return kindOfMode(st.st_mode, true);
}

/// Lists the open folder dirFd; entries listed before a halt are kept. The
/// temporary files of a replace under way (or of one that was killed) are
/// never part of the site.
FolderListing listFolder(Site &site, int dirFd)
{
    std::vector<std::string> folders;
    std::vector<std::string> files;
    FolderListing listing;
    const int listFd = ::dup(dirFd);
    DIR *dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return listing;
    }
    const bool ignoreCase = site.settings().IgnoreCase;
    while (const dirent *entry = ::readdir(dir)) {
        site.host().processEvents();
        if (site.HaltRequested)
            break;
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const EntryKind kind = kindOf(dirFd, entry);
        if (kind == EntryKind::folder || kind == EntryKind::linkedFolder) {
            folders.emplace_back(name);
            if (kind == EntryKind::linkedFolder)
                listing.linkedFolders.emplace(name);
        } else if (!IsTemporaryFileName(name) &&
                   !site.project().MatchWildCard(std::string(name), ignoreCase)) {
            files.emplace_back(name);
            if (kind == EntryKind::specialFile)
                listing.specialFiles.emplace(name);
        }
    }
    ::closedir(dir);
    listing.folders.AddAll(std::move(folders));
    listing.files.AddAll(std::move(files));
    return listing;
}

/// What the tree gets next from the walk: the node of a sub-folder (which
/// becomes the current folder when the walk entered it) or, once everything
/// below the current folder is in, that folder's own files.
struct TreeStep
{
    enum class Kind { folderNode, folderFiles };
    Kind kind;
    std::string text;      // the sub-folder's name, or the folder's path ending in "/"
    bool entered = false;  // for a sub-folder: its steps follow, up to its files
    FolderListing listing; // for the files: the folder's listing
};

// How many entries the walk lists ahead of the tree, so that the pages of the
// next folders are queued for reading while the tree takes the current ones.
constexpr size_t ListAheadEntries = 256;

/// Walks the site. It never leaves what it was given: a folder reached
/// through a symbolic link is listed only the first time the walk meets it
/// through a link (so a lattice of links costs one listing per folder), a
/// link back to the home folder or any folder above it on disk leads back
/// into the site and stays empty, as does a loop, and folders of pseudo file
/// systems (proc, sysfs, devtmpfs...) are never entered. Neither the depth of
/// the site nor the number of open files bounds it: the folders on the way
/// down are kept on a stack of its own, and no descriptor is held while the
/// sub-folders of a folder are scanned.
///
/// The walk lists folders a little ahead of building the tree and hands what
/// it found over as steps, in the tree's order; the pages of a folder are
/// queued for reading as soon as its files are listed ahead, so reading never
/// waits for the tree to reach the next folder.
class Scanner
{
public:
    explicit Scanner(Site &site)
        : m_site(site)
    {
    }

    void scanHome(const std::string &folderPath, TreeNode *parentNode)
    {
        const std::string folder = IncludeTrailingDelimiter(folderPath);
        UniqueFd fd(OpenPath(folder, O_RDONLY | O_DIRECTORY));
        if (!fd.valid())
            return;
        noteFoldersAbove(fd.get());
        m_nodes.push_back(parentNode);
        enter(folder, std::move(fd));
        for (;;) {
            listAhead();
            if (m_steps.empty() || m_site.HaltRequested)
                return;
            TreeStep step = std::move(m_steps.front());
            m_steps.pop_front();
            build(step);
        }
    }

private:
    /// A folder being listed: its listing and how far the walk has come.
    struct Level
    {
        std::string folder; // ends in "/"
        FolderId id;
        FolderListing listing;
        size_t nextFolder = 0;
    };

    /// Under every folder the sub-folders come first, each with all that is
    /// below it, then the folder's own files.
    void listAhead()
    {
        while (!m_stack.empty() && m_entriesAhead < ListAheadEntries) {
            Level &level = m_stack.back();
            if (level.nextFolder < level.listing.folders.size()) {
                m_site.host().processEvents();
                if (m_site.HaltRequested)
                    m_stack.clear();
                else
                    stepIntoNextFolder(level);
                continue;
            }
            readAhead(level.folder, level.listing);
            m_entriesAhead += 1 + level.listing.files.size();
            m_steps.push_back(
                {TreeStep::Kind::folderFiles, level.folder, false, std::move(level.listing)});
            m_stack.pop_back();
        }
    }

    void build(TreeStep &step)
    {
        if (step.kind == TreeStep::Kind::folderFiles) {
            m_entriesAhead -= 1 + step.listing.files.size();
            addFiles(step.text, step.listing);
            m_nodes.pop_back();
            return;
        }
        --m_entriesAhead;
        m_site.host().processEvents();
        TreeNode *node = m_site.tree.AddChild(m_nodes.back(), std::move(step.text));
        node->SetImageIndex(ImgFolderCyan);
        node->SetSelectedIndex(ImgFolderCyanOpen);
        m_site.FolderNodes.push_back(node);
        if (step.entered)
            m_nodes.push_back(node);
    }

    /// The home folder and every folder above it, up to the root.
    void noteFoldersAbove(int homeFd)
    {
        UniqueFd current(::openat(homeFd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat st
        {
        };
        while (current.valid() && ::fstat(current.get(), &st) == 0) {
            if (!m_aboveHome.insert(idOf(st)).second)
                return; // the root is its own parent
            current.reset(::openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        }
    }

    /// Lists the open folder and puts it on the stack; false when it is not
    /// to be entered.
    bool enter(const std::string &folder, UniqueFd fd)
    {
        struct stat st
        {
        };
        if (::fstat(fd.get(), &st) != 0 || m_pseudoFileSystems.Holds(fd.get()))
            return false;
        FolderListing listing = listFolder(m_site, fd.get());
        fd.reset();
        m_stack.push_back({folder, idOf(st), std::move(listing), 0});
        return true;
    }

    void stepIntoNextFolder(Level &level)
    {
        std::string name(level.listing.folders[level.nextFolder++]);
        if (m_site.project().IsIgnoredFolder(level.folder + name))
            return;
        const std::string folder = level.folder;
        UniqueFd fd = enterable(folder, name, level.listing.linkedFolders.count(name) > 0);
        // The folder's step goes first, as its node is the parent of its steps.
        m_steps.push_back({TreeStep::Kind::folderNode, name, false, {}});
        ++m_entriesAhead;
        TreeStep &step = m_steps.back();
        if (fd.valid())
            step.entered = enter(folder + name + "/", std::move(fd)); // level may move now
    }

    /// The sub-folder name of folder, opened when the walk may enter it.
    UniqueFd enterable(const std::string &folder, const std::string &name, bool linked)
    {
        // A folder listed as a folder of its own is opened as nothing else:
        // if it became a link since, it is not followed.
        UniqueFd fd(OpenPath(folder + name, O_RDONLY | O_DIRECTORY | (linked ? 0 : O_NOFOLLOW)));
        struct stat st
        {
        };
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0)
            return {};
        const FolderId id = idOf(st);
        for (const Level &open : m_stack)
            if (open.id == id)
                return {}; // a loop back to a folder being scanned
        if (m_aboveHome.count(id) > 0)
            return {}; // the home folder or one above it: back into the site
        if (linked && !m_linkedListed.insert(id).second)
            return {}; // listed through a link before
        return fd;
    }

    void addFiles(const std::string &folder, const FolderListing &listing)
    {
        for (const std::string_view entry : listing.files) {
            const std::string name(entry);
            m_site.host().processEvents();
            if (m_site.HaltRequested)
                return;
            m_site.host().setStatus(name);
            AddFileNode(m_site, folder + name, m_nodes.back(),
                        listing.specialFiles.count(name) == 0);
            if (m_site.readBuffer().capacity() > KeptReadBufferBytes)
                std::string().swap(m_site.readBuffer());
        }
    }

    /// Lets the workers read the folder's pages while the tree grows.
    void readAhead(const std::string &folder, const FolderListing &listing)
    {
        if (!m_site.Prefetcher)
            return;
        std::vector<std::string> pages;
        for (const std::string_view entry : listing.files) {
            std::string name(entry);
            if (listing.specialFiles.count(name) == 0 && ReadsLinksOnLoad(m_site, folder + name))
                pages.push_back(std::move(name));
        }
        m_site.Prefetcher->Enqueue(folder, pages);
    }

    Site &m_site;
    std::vector<Level> m_stack;        // the folders on the way down to the one listed last
    std::deque<TreeStep> m_steps;      // listed, not in the tree yet
    size_t m_entriesAhead = 0;         // folders and files in m_steps
    std::vector<TreeNode *> m_nodes;   // the tree's folders on the way down to the current one
    std::set<FolderId> m_aboveHome;    // the home folder and the folders above it
    std::set<FolderId> m_linkedListed; // folders listed through a symbolic link
    PseudoFileSystems m_pseudoFileSystems;
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
    Scanner(site).scanHome(folder, parentNode);
}

void AddFileNode(Site &site, const std::string &path, TreeNode *parentNode, bool regularFile)
{
    TreeNode *node = site.tree.AddChild(parentNode, std::string(ExtractFileName(path)));
    FileObject *object = site.FileObjects.Create(site, node);
    node->SetData(object);
    object->LoadFromFile(path, regularFile);
    for (const std::string_view anchor : object->Anchors) {
        TreeNode *anchorNode = site.tree.AddChild(node, std::string(anchor));
        anchorNode->SetImageIndex(ImgAnchor);
        anchorNode->SetSelectedIndex(ImgAnchor);
        anchorNode->SetStateIndex(ImgUnreached);
    }
    object->SetReachState(ReachState::unreached);
    site.host().setFileCount(static_cast<long>(site.FileObjects.size()));
}

} // namespace orvane
