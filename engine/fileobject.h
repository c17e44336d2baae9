#pragma once

#include "engine/stringlist.h"
#include "settings/formoption.h"

#include <cstdint>
#include <string>
#include <utility>

namespace orvane {

class Site;
class TreeNode;

enum class TReachState : uint8_t { reached = 0, unreached = 1, top = 2 };

/// One file of the site: its path, kind, links and the flags the analysis and
/// the tree commands set. Each file node carries one; the object refers back to
/// its node and shows its flags only through the node's pictures. The site's
/// FileObjects makes, owns and destroys every object.
class TFileObject
{
public:
    virtual ~TFileObject() = default;
    TFileObject(const TFileObject &) = delete;
    TFileObject &operator=(const TFileObject &) = delete;

    std::string FullPath;
    TreeNode *Node;
    FileKind Kind = FileKind::html;
    int32_t NameKey = 0;
    bool Ignored = false;
    TReachState ReachState = TReachState::unreached;
    bool Blue = true;
    SortedStringList Links;   // every raw link text of the page
    SortedStringList Anchors; // every anchor name the page defines
    LinkSubset ValidLinks{Links};
    LinkSubset InvalidLinks{Links};
    LinkSubset ExternalLinks{Links};

    /// Takes the path, classifies the file and, for a page, extracts its links
    /// and anchors.
    void LoadFromFile(const std::string &path);

    void SetIgnored(bool flag);
    void SetReachState(TReachState state);
    void SetBlue(bool flag);
    /// Recomputes Blue and the page picture; the selected picture follows.
    void UpdateImage();

    /// Reads the page and fills Links and Anchors.
    void ExtractLinks();
    /// Splits a link text (never empty) into its path and anchor parts.
    std::pair<std::string, std::string> SplitLink(const std::string &link) const;
    /// Sorts Links into ValidLinks, InvalidLinks and ExternalLinks.
    void CheckLinks();

    /// Creation order, used to keep look-ups in FileObjects order.
    uint64_t Sequence() const { return m_sequence; }
    Site &OwnerSite() const { return m_site; }

private:
    friend class FileObjectList;
    TFileObject(Site &site, TreeNode *node, uint64_t sequence);

    Site &m_site;
    uint64_t m_sequence;
};

/// The project forgets the file, then the object is destroyed (its node stays).
void ForgetFileObject(TFileObject *object);

} // namespace orvane
