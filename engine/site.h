#pragma once

#include "engine/fileobjects.h"
#include "engine/filetree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class Host;
class LinkHints;
class PagePrefetcher;
class ReferrerTable;
class Project;
struct Settings;

/// Everything a check works on, owned by the program for its whole run: the
/// site tree, the file objects, the folder nodes, the busy count, the halt flag
/// and the two counters of invalid links. The host, the settings and the
/// project are the program's; every step reads them when it needs them.
class Site
{
public:
    Site(Host &host, Settings &settings, Project &project);
    ~Site();
    Site(const Site &) = delete;
    Site &operator=(const Site &) = delete;

    Host &host() const { return m_host; }
    Settings &settings() const { return m_settings; }
    Project &project() const { return m_project; }

    FileTree tree;
    FileObjectList FileObjects;
    std::vector<TreeNode *> FolderNodes;

    int BusyCount = 0;
    bool HaltRequested = false;
    long InvalidLinkTotal = 0;
    long FilesWithInvalidLinks = 0;

    /// Enters a command: the command buttons go off and Halt on.
    void BeginBusy();
    /// Leaves a command; clears the status line and the count panel. When the
    /// outermost command ends, the halt flag is cleared and the buttons return.
    void EndBusy();

    /// The node of the file whose FullPath equals path, or none.
    TreeNode *FindFileNode(const std::string &path, bool ignoreCase) const
    {
        return FileObjects.FindFileNode(path, ignoreCase);
    }

    /// Names the state that resolving a link depends on (the file objects, the
    /// case rule, the link rules, the server root and the default file name):
    /// it changes whenever any of them changed since the last call.
    uint64_t ResolutionStamp();

    /// Counts the pages whose links were classified, so that what was made
    /// from the classification can tell whether it still holds.
    uint64_t LinkChecks = 0;
    /// Which pages link to each file, made when first asked for after a
    /// link check or a change of the file objects.
    const ReferrerTable &Referrers();
    /// What the invalid links probably meant, asked for the same way. Both
    /// are made on the caller's thread; what they give may then be asked
    /// from any number of threads at once.
    const LinkHints &Hints();

    /// Threads that read pages ahead of a scan; none reads every page when
    /// its file object is made, at the very moment of making it.
    unsigned ReadAheadWorkers;
    /// The pages the running scan reads ahead, if it does.
    PagePrefetcher *Prefetcher = nullptr;

    /// A buffer reused for reading pages, so a scan allocates once.
    std::string &readBuffer() { return m_readBuffer; }

private:
    Host &m_host;
    Settings &m_settings;
    Project &m_project;
    std::string m_readBuffer;

    struct ResolutionState
    {
        uint64_t generation = 0;
        bool ignoreCase = false;
        bool modernLinks = true;
        std::string serverRoot;
        std::string defaultFileName;
        bool operator==(const ResolutionState &) const = default;
    };
    ResolutionState m_resolution;
    uint64_t m_resolutionStamp = 1;

    /// The link checks and the file objects a table was made for.
    struct TableKey
    {
        uint64_t linkChecks = 0;
        uint64_t generation = 0;
        bool operator==(const TableKey &) const = default;
    };
    TableKey tableKey() const { return {LinkChecks, FileObjects.Generation()}; }
    std::unique_ptr<ReferrerTable> m_referrers;
    TableKey m_referrersKey;
    std::unique_ptr<LinkHints> m_hints;
    TableKey m_hintsKey;
};

/// Leaves the busy state when a scope ends, also by an exception.
class BusyScope
{
public:
    explicit BusyScope(Site &site)
        : m_site(site)
    {
        m_site.BeginBusy();
    }
    ~BusyScope() noexcept(false) { m_site.EndBusy(); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    Site &m_site;
};

/// A tree repaint bracket that also ends by an exception.
class TreeUpdateScope
{
public:
    explicit TreeUpdateScope(FileTree &tree)
        : m_tree(tree)
    {
        m_tree.BeginUpdate();
    }
    ~TreeUpdateScope() { m_tree.EndUpdate(); }
    TreeUpdateScope(const TreeUpdateScope &) = delete;
    TreeUpdateScope &operator=(const TreeUpdateScope &) = delete;

private:
    FileTree &m_tree;
};

} // namespace orvane
