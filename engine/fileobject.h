#pragma once

#include "engine/idset.h"
#include "engine/linkplaces.h"
#include "engine/stringlist.h"
#include "settings/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

class Site;
class FileObject;
class TreeNode;
struct ParsedLink;

enum class ReachState : uint8_t { reached = 0, unreached = 1, top = 2 };

/// Where the reachability walk goes from one valid link: the target object (none
/// when the link's path names no file of the tree), the index of the named
/// anchor in its Anchors (-1 for none) and that anchor's node (none when it has
/// none), which the walk marks without going through the target's children.
struct WalkTarget
{
    FileObject *object = nullptr;
    int32_t anchorIndex = -1;
    TreeNode *anchorNode = nullptr;

    /// The target of a link to `object`, at the anchor of that index.
    static WalkTarget To(FileObject *object, int32_t anchorIndex);
};

/// The walk targets of a page's valid links, one per link, kept as one tree
/// node each: the anchor's node when the link names an anchor that has one,
/// else the target's own node (none for no target). Eight bytes a link, as
/// a site has millions of them.
class WalkTargetList
{
public:
    void reserve(size_t n) { m_nodes.reserve(n); }
    void shrink_to_fit() { m_nodes.shrink_to_fit(); }
    size_t size() const { return m_nodes.size(); }
    /// Keeps a target; an anchor index without a node of its own is not kept,
    /// as the walk has nothing to mark for it.
    void push_back(WalkTarget target);
    WalkTarget operator[](size_t i) const;
    /// Asks the processor to fetch what target i will need: its node, and,
    /// for a node fetched before, its file object. A walk over a large site
    /// waits on memory at every link otherwise.
    void Prefetch(size_t i, bool objectToo) const;
    /// Asks the processor to fetch where the targets are kept.
    void PrefetchList() const { __builtin_prefetch(m_nodes.data()); }

private:
    std::vector<TreeNode *> m_nodes;
};

/// Why a link is invalid.
enum class InvalidReason : uint8_t {
    missingFile,   // its path names no file (of the tree, or on disk where that counts)
    missingAnchor, // the file is there, the fragment names nothing in it
    fileUrl,       // a file URL, while such links are not checked
};

/// Where CheckLinks puts each link of a page (indices into its Links), why
/// each invalid one is invalid, and the walk targets of the valid ones.
struct LinkCheck
{
    std::vector<uint32_t> valid;
    std::vector<uint32_t> invalid;
    std::vector<uint32_t> external;
    std::vector<InvalidReason> invalidReasons;
    WalkTargetList walkTargets;
};

/// One file of the site: its path, kind, links and the flags the analysis and
/// the tree commands set. Each file node carries one; the object refers back to
/// its node and shows its flags only through the node's pictures. The site's
/// FileObjects makes, owns and destroys every object.
class FileObject
{
public:
    ~FileObject() = default;
    FileObject(const FileObject &) = delete;
    FileObject &operator=(const FileObject &) = delete;

    std::string FullPath;
    TreeNode *Node;
    FileKind Kind = FileKind::html;
    int32_t NameKey = 0;
    bool Ignored = false;
    orvane::ReachState ReachState = orvane::ReachState::unreached;
    bool Blue = true;
    /// Its place in FileObjects when the site's link tables were last made.
    uint32_t TableIndex = 0;
    SortedStringList Links;    // every raw link text of the page
    SortedStringList Anchors;  // every anchor name the page defines
    IdSet Targets;             // every element id of the page
    LinkPlaceTable LinkPlaces; // where the page names each entry of Links
    LinkSubset ValidLinks{Links};
    LinkSubset InvalidLinks{Links};
    LinkSubset ExternalLinks{Links};
    std::vector<InvalidReason> InvalidReasons; // one per entry of InvalidLinks

    /// Takes the path, classifies the file and, for a page, extracts its links
    /// and anchors. A file that is not a regular file (a FIFO, a device) is of
    /// kind other whatever its name, and is never opened.
    void LoadFromFile(const std::string &path, bool regularFile = true);

    void SetIgnored(bool flag);
    void SetReachState(orvane::ReachState state);
    void SetBlue(bool flag);
    /// Recomputes Blue and the page picture; the selected picture follows.
    void UpdateImage();

    /// Reads the page and fills Links (with their places), Anchors and Targets.
    void ExtractLinks();
    /// Splits a link text (never empty) into its path and anchor parts.
    std::pair<std::string, std::string> SplitLink(std::string_view link) const;
    /// The same into path and anchor, whose room is used again: the links of
    /// a page are taken apart one after another into the same two strings.
    void SplitLinkInto(std::string_view link, std::string &path, std::string &anchor) const;
    /// Where the page names Links[linkIndex]; none for a link that was not
    /// extracted from the page.
    std::optional<LinkPlace> PlaceOf(size_t linkIndex) const
    {
        if (linkIndex >= LinkPlaces.size())
            return std::nullopt;
        return LinkPlaces[linkIndex];
    }
    /// What Links[linkIndex] points to under the current rules: the link as
    /// written, or, with ModernLinks, the part between the quotes of a refresh
    /// target written in quotes. Empty when it names no target at all.
    std::string_view LinkTarget(size_t linkIndex) const;
    /// Where the walk goes from Links[linkIndex], a valid link, resolved
    /// afresh by the rules of CheckLinks.
    WalkTarget ResolveWalkTarget(size_t linkIndex) const;
    /// Sorts Links into ValidLinks, InvalidLinks and ExternalLinks.
    void CheckLinks();
    /// The first half of CheckLinks: works out where each link goes and
    /// changes nothing, so pages may be classified on several threads at once
    /// while the file objects, the settings and the project stay as they are.
    LinkCheck ClassifyLinks() const;
    /// The second half: takes the classification over, updates the picture and
    /// the site's counters of invalid links.
    void ApplyLinkCheck(LinkCheck check);

    /// The walk targets of ValidLinks, one per entry, as resolved by the last
    /// CheckLinks; none when the site's resolution stamp has moved on since.
    const WalkTargetList *WalkTargets(uint64_t resolutionStamp) const
    {
        return resolutionStamp == m_walkStamp ? &m_walkTargets : nullptr;
    }

    /// Fetches into the cache what classifying a link to this file reads, in
    /// three steps some time apart, each reading what the one before fetched:
    /// the object's own fields, then its path and, for a link with a
    /// fragment, its anchors and node, then that node's children.
    void Prefetch(int step, bool anchors) const;
    /// Fetches into the cache what the walk reads first when it comes to
    /// this page, in three steps some time apart, each reading what the one
    /// before fetched: the list of its valid links' targets, then the list's
    /// start, then the first targets' nodes.
    void PrefetchForWalk(int step, uint64_t resolutionStamp) const;

    /// Creation order, used to keep look-ups in FileObjects order.
    uint64_t Sequence() const { return m_sequence; }
    Site &OwnerSite() const { return m_site; }

private:
    friend class FileObjectList;
    FileObject(Site &site, TreeNode *node, uint64_t sequence);

    /// The target of the last path part resolved while classifying a page's
    /// links: the links are sorted, so those to one file with different
    /// fragments follow each other, and parseLink resolves only the first.
    struct TargetMemo
    {
        FileObject *target = nullptr;
    };

    bool modernLinks() const;
    /// Takes link i apart; lastPath is the path part of the last in-site
    /// link taken apart, whose full path is not worked out again (the link
    /// is left without one, and finds its target in the memo).
    void parseLink(size_t i, ParsedLink &link, std::string &lastPath) const;
    void classifyLink(size_t i, const ParsedLink &link, LinkCheck &check, TargetMemo &memo) const;
    void classifyRootRelative(size_t i, const std::string &path, const std::string &anchor,
                              LinkCheck &check) const;
    void classifyInSite(size_t i, const ParsedLink &link, LinkCheck &check, TargetMemo &memo) const;
    void classifyFileUrl(size_t i, const std::string &path, const std::string &anchor,
                         LinkCheck &check) const;
    /// The file object the path part of a link names in the tree, or none.
    FileObject *findTarget(const std::string &path) const;
    /// What findTarget(path) gives, for the path already resolved to full.
    FileObject *findResolvedTarget(const std::string &path, const std::string &full,
                                   uint64_t fullHash) const;
    /// Index of a link's fragment in target's Anchors, or -1.
    int32_t anchorIndexIn(const FileObject &target, const std::string &anchor) const;
    /// Whether a fragment that names no anchor of target still names a place
    /// a browser scrolls to: an element id, or the top of the document.
    bool isFragmentTarget(const FileObject &target, const std::string &anchor) const;
    WalkTarget walkTarget(const std::string &path, const std::string &anchor) const;

    Site &m_site;
    uint64_t m_sequence;
    WalkTargetList m_walkTargets;
    uint64_t m_walkStamp = 0;
};

/// Whether loading the file at path reads its links: a page, unless excluded
/// pages are not read.
bool ReadsLinksOnLoad(const Site &site, const std::string &path);

/// The project forgets the file, then the object is destroyed (its node stays).
void ForgetFileObject(FileObject *object);

} // namespace orvane
