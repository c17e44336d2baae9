#include "engine/linkhints.h"

#include "base/strutil.h"
#include "base/urlpath.h"
#include "engine/fileobject.h"
#include "engine/pathindex.h"
#include "engine/site.h"
#include "project/project.h"
#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <span>
#include <tuple>

namespace orvane {

namespace {

/// Whether more than n bits of x are set, n being small: the machine's count
/// of bits is not assumed, and a library call for it costs more than this.
constexpr bool HasMoreBitsThan(uint64_t x, size_t n)
{
    for (size_t i = 0; i < n && x != 0; ++i)
        x &= x - 1;
    return x != 0;
}
static_assert(!HasMoreBitsThan(0b101, 2) && HasMoreBitsThan(0b10101, 2) && !HasMoreBitsThan(0, 0));

std::vector<std::string_view> splitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::string_view::npos)
            return parts;
        begin = end + 1;
    }
}

/// Where the path part of a link text begins and ends: after an "http:"
/// prefix, before the query or the fragment.
std::pair<size_t, size_t> pathPartOf(std::string_view text)
{
    const size_t begin = StartsWith(text, "http:") ? 5 : 0;
    const size_t end = std::min(FindEither(text, '?', '#', begin), text.size());
    return {begin, end};
}

/// The link text with the names of its path that differ from the target's
/// only in letter case written as the target's are; empty when the link's
/// names do not line up with the target's (escapes, for one).
std::string withTargetCase(std::string_view text, const std::string &targetPath)
{
    const auto [begin, end] = pathPartOf(text);
    std::vector<std::string_view> names = splitAt(text.substr(begin, end - begin), '/');
    const std::vector<std::string_view> targetNames = splitAt(targetPath, '/');
    size_t t = targetNames.size();
    size_t k = names.size();
    // A link to a folder reaches its default file, a name the link lacks.
    if (k > 0 && names[k - 1].empty()) {
        --k;
        if (t > 0)
            --t;
    }
    bool changed = false;
    // The names after the last "." or ".." are the last names of the path the
    // link resolves to; one that is not the target's name without case (an
    // escaped one) leaves the link to be written afresh.
    for (; k > 0 && t > 0; --k, --t) {
        const std::string_view name = names[k - 1];
        if (name == "." || name == "..")
            break;
        if (name.empty() || !SameText(name, targetNames[t - 1]))
            return {};
        changed = changed || name != targetNames[t - 1];
        names[k - 1] = targetNames[t - 1];
    }
    if (!changed)
        return {};
    std::string out(text.substr(0, begin));
    for (size_t i = 0; i < names.size(); ++i) {
        if (i)
            out += '/';
        out += names[i];
    }
    out += text.substr(end);
    return out;
}

/// The link's path in the forms it may take: as written and, with the
/// current link rules, with its escapes decoded.
std::vector<std::string> pathForms(const Site &site, const std::string &path)
{
    std::vector<std::string> forms{path};
    if (site.settings().ModernLinks && FindEither(path, '%', '&') != std::string::npos) {
        std::string decoded = DecodeLinkEscapes(path);
        if (decoded != path)
            forms.push_back(std::move(decoded));
    }
    return forms;
}

} // namespace

size_t EditDistanceWithin(std::string_view a, std::string_view b, size_t limit)
{
    if (a.size() > b.size())
        std::swap(a, b);
    if (b.size() - a.size() > limit)
        return limit + 1;
    // Near names differ in a few places of a long shared text ("method.into",
    // "method.from"): what both begin and end with takes no edit.
    const auto same = [](char x, char y) { return asciiUpper(x) == asciiUpper(y); };
    while (!a.empty() && same(a.front(), b.front())) {
        a.remove_prefix(1);
        b.remove_prefix(1);
    }
    while (!a.empty() && same(a.back(), b.back())) {
        a.remove_suffix(1);
        b.remove_suffix(1);
    }
    if (a.empty())
        return std::min(b.size(), limit + 1);
    // One row of the distance table at a time, and of each row only the
    // cells within limit of the diagonal: any other cell is past the limit.
    // Every value is capped at limit + 1, which stands for "too far". Names
    // are short: the row is kept on the stack when it fits.
    const size_t tooFar = limit + 1;
    constexpr size_t ShortName = 64;
    std::array<size_t, ShortName + 1> shortRow;
    std::vector<size_t> longRow(a.size() > ShortName ? a.size() + 1 : 0);
    const std::span<size_t> row = a.size() > ShortName
                                      ? std::span<size_t>(longRow)
                                      : std::span<size_t>(shortRow.data(), a.size() + 1);
    for (size_t i = 0; i <= a.size(); ++i)
        row[i] = std::min(i, tooFar);
    for (size_t j = 1; j <= b.size(); ++j) {
        const size_t low = j > limit ? j - limit : 1;
        const size_t high = std::min(a.size(), j + limit);
        // The cell left of the band is the first column, or past the limit.
        size_t diagonal = row[low - 1];
        row[low - 1] = low == 1 ? std::min(j, tooFar) : tooFar;
        size_t smallest = row[low - 1];
        const char letter = asciiUpper(b[j - 1]);
        for (size_t i = low; i <= high; ++i) {
            // Right of the last band the row still holds "too far".
            const size_t above = row[i];
            const size_t substitute = diagonal + (asciiUpper(a[i - 1]) == letter ? 0 : 1);
            row[i] = std::min({above + 1, row[i - 1] + 1, substitute, tooFar});
            diagonal = above;
            smallest = std::min(smallest, row[i]);
        }
        if (smallest > limit)
            return tooFar;
    }
    return row[a.size()];
}

std::string RelativeLink(std::string_view pagePath, std::string_view targetPath)
{
    const std::string_view folder = pagePath.substr(0, pagePath.rfind('/') + 1);
    size_t common = 0;
    for (size_t i = 0; i < folder.size() && i < targetPath.size() && folder[i] == targetPath[i];
         ++i) {
        if (folder[i] == '/')
            common = i + 1;
    }
    std::string out;
    for (size_t i = common; i < folder.size(); ++i) {
        if (folder[i] == '/')
            out += "../";
    }
    out += targetPath.substr(common);
    return out;
}

LinkHints::LinkHints(const Site &site)
    : m_site(site)
{
    const FileObjectList &objects = site.FileObjects;
    m_byName.reserve(objects.size());
    for (size_t i = 0; i < objects.size(); ++i)
        m_byName.push_back({PathIndex::FoldedHash(ExtractFileName(objects[i]->FullPath)),
                            static_cast<uint32_t>(i)});
    std::sort(m_byName.begin(), m_byName.end());
}

bool LinkHints::anyFileNamedLike(std::string_view name) const
{
    const auto [first, last] = std::equal_range(m_byName.begin(), m_byName.end(),
                                                NameEntry{PathIndex::FoldedHash(name), 0});
    for (auto it = first; it != last; ++it) {
        if (SameText(ExtractFileName(m_site.FileObjects[it->object]->FullPath), name))
            return true;
    }
    return false;
}

const FileObject *LinkHints::onlyFileNamed(std::string_view name) const
{
    const bool ignoreCase = m_site.settings().IgnoreCase;
    const auto [first, last] = std::equal_range(m_byName.begin(), m_byName.end(),
                                                NameEntry{PathIndex::FoldedHash(name), 0});
    const FileObject *found = nullptr;
    for (auto it = first; it != last; ++it) {
        const FileObject *object = m_site.FileObjects[it->object];
        const std::string_view other = ExtractFileName(object->FullPath);
        if (ignoreCase ? !SameText(other, name) : other != name)
            continue;
        if (found)
            return nullptr;
        found = object;
    }
    return found;
}

std::optional<LinkHint> LinkHints::missingFile(const FileObject &page, std::string_view text) const
{
    if (StartsWithText(text, "file:"))
        return std::nullopt;
    const auto [path, anchor] = page.SplitLink(text);
    if (path.empty())
        return std::nullopt;
    const std::vector<std::string> forms = pathForms(m_site, path);
    // Both hints need a file whose name is the link's without regard to case:
    // most missing files have none, and are done with at once.
    if (std::none_of(forms.begin(), forms.end(), [this](const std::string &form) {
            return anyFileNamedLike(ExtractFileName(form));
        }))
        return std::nullopt;
    const Project &project = m_site.project();
    const std::string_view rest = text.substr(pathPartOf(text).second);
    if (!m_site.settings().IgnoreCase) {
        for (const std::string &form : forms) {
            const FileObject *target =
                m_site.FileObjects.FindFileObject(project.LinkToPath(page.FullPath, form), true);
            if (!target)
                continue;
            std::string link = withTargetCase(text, target->FullPath);
            if (link.empty())
                link = RelativeLink(page.FullPath, target->FullPath) + std::string(rest);
            return LinkHint{HintKind::letterCase, std::move(link), {}};
        }
    }
    for (const std::string &form : forms) {
        const std::string_view name = ExtractFileName(form);
        if (name.empty())
            continue;
        if (const FileObject *target = onlyFileNamed(name))
            return LinkHint{HintKind::moved,
                            RelativeLink(page.FullPath, target->FullPath) + std::string(rest),
                            {}};
    }
    return std::nullopt;
}

std::optional<LinkHint> LinkHints::missingAnchor(const FileObject &page,
                                                 std::string_view text) const
{
    const auto [path, anchor] = page.SplitLink(text);
    const size_t hash = text.find('#');
    if (anchor.empty() || hash == std::string_view::npos)
        return std::nullopt;
    const FileObject *target = nullptr;
    for (const std::string &form : pathForms(m_site, path)) {
        target = m_site.FileObjects.FindFileObject(m_site.project().LinkToPath(page.FullPath, form),
                                                   m_site.settings().IgnoreCase);
        if (target)
            break;
    }
    if (!target)
        return std::nullopt;
    const std::string_view found = nearName(*target, anchor);
    if (found.empty())
        return std::nullopt;
    return LinkHint{HintKind::anchor, std::string(text.substr(0, hash + 1)) + std::string(found),
                    std::string(found)};
}

std::string_view LinkHints::nearName(const FileObject &target, std::string_view anchor) const
{
    // A page of few names is gone through afresh; one of many is grouped
    // once and kept, as broken fragments tend to aim at the long pages, and
    // so is the answer for each fragment, as many pages tend to repeat one.
    constexpr size_t KeptFrom = 64;
    if (target.Anchors.size() + target.Targets.size() < KeptFrom) {
        FragmentNames few;
        fillFragmentNames(target, few);
        return nearNameIn(few, anchor);
    }
    const KeptAnswerKey key{&target, std::string(anchor)};
    KeptAnswers &kept = m_keptAnswers[KeptAnswerHash()(key) % KeptAnswerShards];
    {
        const std::lock_guard lock(kept.mutex);
        if (const auto it = kept.answers.find(key); it != kept.answers.end())
            return it->second;
    }
    const std::string_view found = nearNameIn(fragmentNames(target), anchor);
    const std::lock_guard lock(kept.mutex);
    kept.answers.emplace(key, found);
    return found;
}

std::string_view LinkHints::nearNameIn(const FragmentNames &names, std::string_view anchor)
{
    constexpr size_t MaxEdits = 2;
    const uint64_t letters = LettersOf(anchor);
    std::string_view found;
    uint32_t foundPlace = 0;
    // Every character of a difference in length takes an edit of its own:
    // only the groups of lengths within reach are looked at.
    const size_t shortest = anchor.size() > MaxEdits ? anchor.size() - MaxEdits : 0;
    const auto first =
        std::partition_point(names.groups.begin(), names.groups.end(),
                             [shortest](const FragmentGroup &g) { return g.length < shortest; });
    for (auto group = first;
         group != names.groups.end() && group->length <= anchor.size() + MaxEdits; ++group) {
        // Every letter one text has and the other lacks takes an edit too.
        if (HasMoreBitsThan(letters & ~group->letters, MaxEdits) ||
            HasMoreBitsThan(group->letters & ~letters, MaxEdits))
            continue;
        for (uint32_t i = group->begin; i < group->end; ++i) {
            const FragmentName &name = names.names[i];
            if (EditDistanceWithin(anchor, name.text, MaxEdits) > MaxEdits)
                continue;
            if (found.empty() || (SameText(found, name.text) && name.place < foundPlace)) {
                // Of names equal without case, the first anchor (else id) is
                // the one suggested.
                found = name.text;
                foundPlace = name.place;
            } else if (!SameText(found, name.text)) {
                // Two different names within reach: no hint, whatever follows.
                return {};
            }
        }
    }
    if (SameText(found, anchor))
        return {};
    return found;
}

size_t LinkHints::KeptAnswerHash::operator()(const KeptAnswerKey &key) const
{
    return std::hash<const void *>()(key.target) * 31 + std::hash<std::string>()(key.anchor);
}

std::optional<LinkHint> LinkHints::For(const FileObject &page, size_t invalidIndex) const
{
    if (invalidIndex >= page.InvalidLinks.size() || invalidIndex >= page.InvalidReasons.size())
        return std::nullopt;
    const std::string_view text = page.LinkTarget(page.InvalidLinks.BaseIndex(invalidIndex));
    if (text.empty())
        return std::nullopt;
    switch (page.InvalidReasons[invalidIndex]) {
    case InvalidReason::missingFile:
        return missingFile(page, text);
    case InvalidReason::missingAnchor:
        return missingAnchor(page, text);
    case InvalidReason::fileUrl:
        break;
    }
    return std::nullopt;
}

std::optional<LinkHint> LinkHints::ForLink(const FileObject &page, std::string_view link) const
{
    for (size_t i = 0; i < page.InvalidLinks.size(); ++i) {
        if (page.LinkTarget(page.InvalidLinks.BaseIndex(i)) == link)
            return For(page, i);
    }
    return std::nullopt;
}

uint64_t LettersOf(std::string_view text)
{
    uint64_t letters = 0;
    for (const char c : text)
        letters |= uint64_t{1} << (static_cast<unsigned char>(asciiUpper(c)) & 63u);
    return letters;
}

void LinkHints::fillFragmentNames(const FileObject &target, FragmentNames &names) const
{
    struct Entry
    {
        uint64_t letters;
        FragmentName name;
    };
    std::vector<Entry> all;
    const auto add = [&all](std::string_view name) {
        all.push_back({LettersOf(name), {name, static_cast<uint32_t>(all.size())}});
    };
    for (const std::string_view name : target.Anchors)
        add(name);
    if (m_site.settings().ModernLinks)
        target.Targets.ForEachText(add);
    const auto key = [](const Entry &e) {
        return std::tuple(e.name.text.size(), e.letters, e.name.place);
    };
    std::sort(all.begin(), all.end(),
              [&key](const Entry &a, const Entry &b) { return key(a) < key(b); });
    names.names.reserve(all.size());
    for (const Entry &entry : all) {
        const auto at = static_cast<uint32_t>(names.names.size());
        const size_t length = entry.name.text.size();
        if (names.groups.empty() || names.groups.back().length != length ||
            names.groups.back().letters != entry.letters)
            names.groups.push_back({length, entry.letters, at, at});
        names.names.push_back(entry.name);
        ++names.groups.back().end;
    }
}

const LinkHints::FragmentNames &LinkHints::fragmentNames(const FileObject &target) const
{
    const std::lock_guard lock(m_fragmentMutex);
    const auto [it, made] = m_fragmentNames.try_emplace(&target);
    if (made)
        fillFragmentNames(target, it->second);
    return it->second;
}

} // namespace orvane
