#include "cli/textreport.h"

#include "cli/consolehost.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/site.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace orvane::cli {

namespace {

void writeSummary(std::ostream &out, const std::string &summary)
{
    for (size_t i = 0; i < summary.size(); ++i) {
        if (summary[i] == '\r' && i + 1 < summary.size() && summary[i + 1] == '\n')
            continue;
        out << summary[i];
    }
    out << '\n';
}

const char *reasonText(InvalidReason reason)
{
    switch (reason) {
    case InvalidReason::missingFile:
        return "missing file";
    case InvalidReason::missingAnchor:
        return "missing anchor";
    case InvalidReason::fileUrl:
        return "file URL";
    }
    return "invalid";
}

/// The positions in InvalidLinks, in the order the page first names them.
std::vector<size_t> inPageOrder(const FileObject &page)
{
    std::vector<size_t> order(page.InvalidLinks.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const auto rank = [&page](size_t i) {
        const LinkPlace *place = page.PlaceOf(page.InvalidLinks.BaseIndex(i));
        return place ? place->order : 0u;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&rank](size_t a, size_t b) { return rank(a) < rank(b); });
    return order;
}

void writeInvalidLinks(std::ostream &out, const Site &site, const FileObject &page)
{
    if (page.InvalidLinks.empty())
        return;
    const std::string path = PrintableText(RelativePath(site, page.FullPath));
    for (const size_t i : inPageOrder(page)) {
        out << path;
        const LinkPlace *place = page.PlaceOf(page.InvalidLinks.BaseIndex(i));
        if (place && place->line > 0)
            out << ':' << place->line;
        const InvalidReason reason =
            i < page.InvalidReasons.size() ? page.InvalidReasons[i] : InvalidReason::missingFile;
        out << ": " << PrintableText(page.InvalidLinks[i]) << " (" << reasonText(reason) << ')';
        if (place && place->count > 1)
            out << " (+" << place->count - 1 << ')';
        out << '\n';
    }
}

} // namespace

void WriteTextReport(std::ostream &out, const Site &site, const std::string &summary)
{
    writeSummary(out, summary);
    out << "orphaned files:\n";
    for (const FileObject *orphan : Orphans(site))
        out << PrintableText(RelativePath(site, orphan->FullPath)) << '\n';
    out << "invalid links:\n";
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        writeInvalidLinks(out, site, *site.FileObjects[i]);
}

} // namespace orvane::cli
