#pragma once

#include "base/host.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

class FileObject;
class Site;

/// Works out the hints of invalid links when asked, from the file objects as
/// the last check left them and an index of their file names made once.
class LinkHints
{
public:
    explicit LinkHints(const Site &site);

    /// The hint for the i-th entry of page's InvalidLinks, the first that
    /// applies: for a missing file a file whose path differs only in letter
    /// case, else the only file of the site with the same file name; for a
    /// missing anchor the only anchor or id of the target within two edits
    /// of the fragment. None for a file URL and when nothing applies.
    std::optional<LinkHint> For(const FileObject &page, size_t invalidIndex) const;

    /// The hint for the invalid link of page whose text, as the current rules
    /// read it, is link; none when page has no such invalid link.
    std::optional<LinkHint> ForLink(const FileObject &page, std::string_view link) const;

private:
    std::optional<LinkHint> missingFile(const FileObject &page, std::string_view text) const;
    std::optional<LinkHint> missingAnchor(const FileObject &page, std::string_view text) const;
    /// Whether a file of the site has name as its file name without regard
    /// to case.
    bool anyFileNamedLike(std::string_view name) const;
    const FileObject *onlyFileNamed(std::string_view name) const;

    const Site &m_site;
    struct NameEntry
    {
        uint64_t hash; // of the file name folded
        uint32_t object;
        bool operator<(const NameEntry &other) const { return hash < other.hash; }
    };
    std::vector<NameEntry> m_byName; // sorted by hash

    /// The anchors (then, with the current rules, the ids) of a page, grouped
    /// by the letters they have (folded, one bit each): a whole group is ruled
    /// out as near misses at once. Each name keeps its place in that order.
    struct FragmentName
    {
        std::string_view text;
        uint32_t place;
    };
    /// Names of one length and one set of letters.
    struct FragmentGroup
    {
        size_t length;
        uint64_t letters;
        uint32_t begin; // into names
        uint32_t end;
    };
    struct FragmentNames
    {
        std::vector<FragmentName> names; // by length, letters, then place
        std::vector<FragmentGroup> groups;
    };
    /// The names of target, made on first use: a page that many broken
    /// fragments aim at is gone through once.
    const FragmentNames &fragmentNames(const FileObject &target) const;
    void fillFragmentNames(const FileObject &target, FragmentNames &names) const;
    /// The only name of target within two edits of a fragment that names
    /// nothing there, as the target holds it; empty when there is none, or
    /// more than one, or only the fragment itself in another letter case.
    std::string_view nearName(const FileObject &target, std::string_view anchor) const;
    static std::string_view nearNameIn(const FragmentNames &names, std::string_view anchor);

    struct KeptAnswerKey
    {
        const FileObject *target;
        std::string anchor;
        bool operator==(const KeptAnswerKey &) const = default;
    };
    struct KeptAnswerHash
    {
        size_t operator()(const KeptAnswerKey &key) const;
    };
    mutable std::mutex m_fragmentMutex;
    mutable std::unordered_map<const FileObject *, FragmentNames> m_fragmentNames;
    /// The near names found for fragments aimed at targets of many names,
    /// in shards by fragment: reports render on several threads at once, and
    /// ask for one every few links.
    struct KeptAnswers
    {
        std::mutex mutex;
        std::unordered_map<KeptAnswerKey, std::string_view, KeptAnswerHash> answers;
    };
    static constexpr size_t KeptAnswerShards = 16;
    mutable std::array<KeptAnswers, KeptAnswerShards> m_keptAnswers;
};

/// One bit for each letter of text (a-z folded onto A-Z; other bytes share
/// bits by their low six bits).
uint64_t LettersOf(std::string_view text);

/// The smallest number of single-character insertions, deletions and
/// substitutions (a-z the same as A-Z) that make a into b, when it is at most
/// limit; limit + 1 otherwise.
size_t EditDistanceWithin(std::string_view a, std::string_view b, size_t limit);

/// The link from the page at pagePath that reaches the file at targetPath,
/// both absolute: "../" for each folder to leave, then the rest of the path.
std::string RelativeLink(std::string_view pagePath, std::string_view targetPath);

} // namespace orvane
