#pragma once

#include "engine/linkplaces.h"
#include "engine/stringlist.h"
#include "settings/settings.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

class Site;
class FileObject;
class TreeNode;

enum class ReachState : uint8_t { reached = 0, unreached = 1, top = 2 };

/// Where the reachability walk goes from one valid link: the target object (none
/// when the link's path names no file of the tree) and the index of the named
/// anchor in its Anchors (-1 for none).
struct WalkTarget
{
    FileObject *object;
    int32_t anchorIndex;
};

/// Where CheckLinks puts each link of a page (indices into its Links), and
/// the walk targets of the valid ones.
struct LinkCheck
{
    std::vector<uint32_t> valid;
    std::vector<uint32_t> invalid;
    std::vector<uint32_t> external;
    std::vector<WalkTarget> walkTargets;
};

/// One file of the site: its path, kind, links and the flags the analysis and
/// the tree commands set. Each file node carries one; the object refers back to
/// its node and shows its flags only through the node's pictures. The site's
/// FileObjects makes, owns and destroys every object.
class FileObject
{
public:
    virtual ~FileObject() = default;
    FileObject(const FileObject &) = delete;
    FileObject &operator=(const FileObject &) = delete;

    std::string FullPath;
    TreeNode *Node;
    FileKind Kind = FileKind::html;
    int32_t NameKey = 0;
    bool Ignored = false;
    orvane::ReachState ReachState = orvane::ReachState::unreached;
    bool Blue = true;
    SortedStringList Links;            // every raw link text of the page
    SortedStringList Anchors;          // every anchor name the page defines
    SortedStringList Targets;          // every element id of the page
    std::vector<LinkPlace> LinkPlaces; // where the page names each entry of Links
    LinkSubset ValidLinks{Links};
    LinkSubset InvalidLinks{Links};
    LinkSubset ExternalLinks{Links};

    /// Takes the path, classifies the file and, for a page, extracts its links
    /// and anchors.
    void LoadFromFile(const std::string &path);

    void SetIgnored(bool flag);
    void SetReachState(orvane::ReachState state);
    void SetBlue(bool flag);
    /// Recomputes Blue and the page picture; the selected picture follows.
    void UpdateImage();

    /// Reads the page and fills Links and Anchors.
    void ExtractLinks();
    /// Splits a link text (never empty) into its path and anchor parts.
    std::pair<std::string, std::string> SplitLink(const std::string &link) const;
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
    const std::vector<WalkTarget> *WalkTargets(uint64_t resolutionStamp) const
    {
        return resolutionStamp == m_walkStamp ? &m_walkTargets : nullptr;
    }

    /// Creation order, used to keep look-ups in FileObjects order.
    uint64_t Sequence() const { return m_sequence; }
    Site &OwnerSite() const { return m_site; }

private:
    friend class FileObjectList;
    FileObject(Site &site, TreeNode *node, uint64_t sequence);

    WalkTarget walkTarget(const std::string &path, const std::string &anchor) const;

    Site &m_site;
    uint64_t m_sequence;
    std::vector<WalkTarget> m_walkTargets;
    uint64_t m_walkStamp = 0;
};

/// Whether loading the file at path reads its links: a page, unless excluded
/// pages are not read.
bool ReadsLinksOnLoad(const Site &site, const std::string &path);

/// The project forgets the file, then the object is destroyed (its node stays).
void ForgetFileObject(FileObject *object);

} // namespace orvane
