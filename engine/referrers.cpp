#include "engine/referrers.h"

#include "engine/fileobject.h"
#include "engine/parallelfor.h"
#include "engine/site.h"

#include <algorithm>
#include <limits>

namespace orvane {

namespace {

constexpr uint32_t None = std::numeric_limits<uint32_t>::max();

uint32_t placeCount(const FileObject &page, size_t link)
{
    const std::optional<LinkPlace> place = page.PlaceOf(link);
    return place && place->count > 0 ? place->count : 1;
}

/// Whether the page names link a before link b.
bool namesEarlier(const FileObject &page, size_t a, size_t b)
{
    const std::optional<LinkPlace> pa = page.PlaceOf(a);
    const std::optional<LinkPlace> pb = page.PlaceOf(b);
    return pa && pb && pa->order < pb->order;
}

/// Calls f(i, target) for the i-th valid link of page when it leads to a
/// file of the tree, with the walk targets the check kept or, once they no
/// longer hold, resolved afresh.
template<typename F>
void forEachTarget(const FileObject &page, uint64_t stamp, F &&f)
{
    const WalkTargetList *targets = page.WalkTargets(stamp);
    for (size_t i = 0; i < page.ValidLinks.size(); ++i) {
        const FileObject *target =
            targets ? (*targets)[i].object
                    : page.ResolveWalkTarget(page.ValidLinks.BaseIndex(i)).object;
        if (target)
            f(i, *target);
    }
}

/// For every valid link of every page, in order, the place in FileObjects of
/// the file it leads to; None for a link that leads to no other file of the
/// tree. Takes the walk targets the check kept or, once they no longer hold,
/// resolves afresh. Finding a target's place visits the target, which is what
/// costs here, so the pages are shared among the cores.
std::vector<uint32_t> targetPlaces(const Site &site, uint64_t stamp,
                                   std::vector<uint32_t> &firstLink)
{
    const FileObjectList &objects = site.FileObjects;
    const size_t n = objects.size();
    firstLink.assign(n + 1, 0);
    for (size_t p = 0; p < n; ++p)
        firstLink[p + 1] = firstLink[p] + static_cast<uint32_t>(objects[p]->ValidLinks.size());
    std::vector<uint32_t> places(firstLink[n], None);
    ParallelFor(0, n, firstLink[n] < 4096 ? 1 : ComputeThreads(), [&](size_t p) {
        const FileObject &page = *objects[p];
        uint32_t *out = places.data() + firstLink[p];
        forEachTarget(page, stamp, [&](size_t i, const FileObject &target) {
            if (&target != &page)
                out[i] = target.TableIndex;
        });
    });
    return places;
}

} // namespace

ReferrerTable::ReferrerTable(Site &site)
    : m_site(site)
    , m_stamp(site.ResolutionStamp())
{
    const FileObjectList &objects = site.FileObjects;
    const size_t n = objects.size();
    for (size_t i = 0; i < n; ++i)
        objects[i]->TableIndex = static_cast<uint32_t>(i);
    std::vector<uint32_t> firstLink;
    const std::vector<uint32_t> places = targetPlaces(site, m_stamp, firstLink);

    // Two passes over the links, counting and then filling, so the table is
    // made in place: a page counts once per file however many of its links
    // lead there.
    std::vector<uint32_t> lastPage(n, None);
    m_offsets.assign(n + 1, 0);
    for (size_t p = 0; p < n; ++p) {
        for (size_t k = firstLink[p]; k < firstLink[p + 1]; ++k) {
            const uint32_t t = places[k];
            if (t != None && lastPage[t] != p) {
                lastPage[t] = static_cast<uint32_t>(p);
                ++m_offsets[t + 1];
            }
        }
    }
    for (size_t t = 0; t < n; ++t)
        m_offsets[t + 1] += m_offsets[t];
    m_referrers.resize(m_offsets[n]);
    std::vector<uint32_t> next(m_offsets.begin(), m_offsets.end() - 1);
    std::vector<uint32_t> slot(n, None);
    std::fill(lastPage.begin(), lastPage.end(), None);
    for (size_t p = 0; p < n; ++p) {
        const FileObject &page = *objects[p];
        for (size_t k = firstLink[p]; k < firstLink[p + 1]; ++k) {
            const uint32_t t = places[k];
            if (t == None)
                continue;
            const size_t link = page.ValidLinks.BaseIndex(k - firstLink[p]);
            if (lastPage[t] != p) {
                lastPage[t] = static_cast<uint32_t>(p);
                slot[t] = next[t]++;
                m_referrers[slot[t]] = {static_cast<uint32_t>(p), static_cast<uint32_t>(link)};
                continue;
            }
            Referrer &referrer = m_referrers[slot[t]];
            if (namesEarlier(page, link, referrer.link))
                referrer.link = static_cast<uint32_t>(link);
        }
    }
}

std::span<const Referrer> ReferrerTable::Of(const FileObject &object) const
{
    const size_t t = object.TableIndex;
    if (t + 1 >= m_offsets.size() || t >= m_site.FileObjects.size() ||
        m_site.FileObjects[t] != &object)
        return {};
    return std::span<const Referrer>(m_referrers)
        .subspan(m_offsets[t], m_offsets[t + 1] - m_offsets[t]);
}

FileObject *ReferrerTable::Page(const Referrer &referrer) const
{
    return m_site.FileObjects[referrer.page];
}

uint32_t ReferrerTable::Line(const Referrer &referrer) const
{
    const std::optional<LinkPlace> place = Page(referrer)->PlaceOf(referrer.link);
    return place ? place->line : 0;
}

uint32_t ReferrerTable::Count(const Referrer &referrer, const FileObject &file) const
{
    const FileObject &page = *Page(referrer);
    uint32_t count = 0;
    forEachTarget(page, m_stamp, [&](size_t i, const FileObject &target) {
        if (&target == &file)
            count += placeCount(page, page.ValidLinks.BaseIndex(i));
    });
    return count;
}

size_t ReferrerTable::MemoryUse() const
{
    return m_offsets.capacity() * sizeof(uint32_t) + m_referrers.capacity() * sizeof(Referrer);
}

ReferrerState ReferrerStateOf(const FileObject &page)
{
    if (page.Ignored)
        return ReferrerState::excluded;
    switch (page.ReachState) {
    case ReachState::top:
        return ReferrerState::top;
    case ReachState::reached:
        return ReferrerState::reached;
    case ReachState::unreached:
        break;
    }
    return ReferrerState::unreached;
}

OrphanReason OrphanReasonOf(const ReferrerTable &table, const FileObject &object)
{
    if (object.Ignored || object.ReachState != ReachState::unreached)
        return OrphanReason::none;
    const std::span<const Referrer> referrers = table.Of(object);
    if (referrers.empty())
        return OrphanReason::noReferrer;
    for (const Referrer &referrer : referrers) {
        const ReferrerState state = ReferrerStateOf(*table.Page(referrer));
        if (state != ReferrerState::unreached && state != ReferrerState::excluded)
            return OrphanReason::none;
    }
    return OrphanReason::onlyOrphanedReferrers;
}

BrokenLinks LinksBrokenByDeleting(const ReferrerTable &table,
                                  const std::vector<const FileObject *> &files, size_t maxPages)
{
    // Pages are told apart by their place in the table, which is also the
    // order they are listed in.
    std::vector<uint32_t> going;
    going.reserve(files.size());
    for (const FileObject *file : files)
        going.push_back(file->TableIndex);
    std::sort(going.begin(), going.end());
    const auto goes = [&going](uint32_t page) {
        return std::binary_search(going.begin(), going.end(), page);
    };
    BrokenLinks broken;
    std::vector<uint32_t> pages;
    for (const FileObject *file : files) {
        for (const Referrer &referrer : table.Of(*file)) {
            if (goes(referrer.page))
                continue;
            broken.links += table.Count(referrer, *file);
            pages.push_back(referrer.page);
        }
    }
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    broken.pageCount = pages.size();
    for (size_t i = 0; i < pages.size() && i < maxPages; ++i)
        broken.pages.push_back(table.Page(Referrer{pages[i], 0}));
    return broken;
}

} // namespace orvane
