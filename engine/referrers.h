#pragma once

#include "base/host.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

class FileObject;
class Site;

/// One page that links to a file: the page (its place in FileObjects when
/// the table was made) and the first of its links that leads there (an index
/// into the page's Links).
struct Referrer
{
    uint32_t page;
    uint32_t link;
};

/// Which pages link to each file: the pages whose valid links lead to it, as
/// the last link check resolved them, without a page linking to itself. One
/// flat array of referrers for the whole site with the offsets of each file's
/// run in it, made from the walk targets the check keeps: nothing is read or
/// resolved again while the check's resolution holds.
class ReferrerTable
{
public:
    /// Made for the site as its last link check left it.
    explicit ReferrerTable(Site &site);

    /// The referrers of object, in FileObjects order; none for an object
    /// made after the table.
    std::span<const Referrer> Of(const FileObject &object) const;
    /// The referring page.
    FileObject *Page(const Referrer &referrer) const;
    /// The line where the page first names the referrer's link, from 1; 0
    /// when unknown.
    uint32_t Line(const Referrer &referrer) const;

    /// How many times the referring page names links that lead to file.
    uint32_t Count(const Referrer &referrer, const FileObject &file) const;

    /// Bytes the table holds, for the benchmarks.
    size_t MemoryUse() const;

private:
    const Site &m_site;
    uint64_t m_stamp;                // the resolution the walk targets were taken from
    std::vector<uint32_t> m_offsets; // per file of FileObjects, one more at the end
    std::vector<Referrer> m_referrers;
};

/// The state a referring page is shown with.
ReferrerState ReferrerStateOf(const FileObject &page);

/// The reason for an orphaned object (not excluded, unreached); none for any
/// other, and for an orphan with a reached referrer (a halted walk).
OrphanReason OrphanReasonOf(const ReferrerTable &table, const FileObject &object);

/// What deleting a set of files breaks: the links to them from pages outside
/// the set.
struct BrokenLinks
{
    size_t links = 0;                      // places where those pages name them
    size_t pageCount = 0;                  // pages outside the set that link in
    std::vector<const FileObject *> pages; // the first of them, in FileObjects order
};

/// The links from pages that stay to the files that go; the first maxPages
/// pages are listed, every one is counted.
BrokenLinks LinksBrokenByDeleting(const ReferrerTable &table,
                                  const std::vector<const FileObject *> &files, size_t maxPages);

} // namespace orvane
