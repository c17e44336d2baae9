#include "cli/referrerreport.h"

#include "base/usertext.h"
#include "cli/consolehost.h"
#include "cli/jsonreport.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/referrers.h"
#include "engine/site.h"

namespace orvane::cli {

void WriteReferrersReport(std::ostream &out, Site &site, const FileObject &file, bool json)
{
    const ReferrerTable &table = site.Referrers();
    const std::string path = RelativePath(site, file.FullPath);
    const char *reason = OrphanReasonText(OrphanReasonOf(table, file));
    if (json) {
        out << "{\"path\": " << JsonString(path) << ", \"referrers\": [";
        bool first = true;
        for (const Referrer &referrer : table.Of(file)) {
            const FileObject &page = *table.Page(referrer);
            out << (first ? "\n    " : ",\n    ")
                << "{\"page\": " << JsonString(RelativePath(site, page.FullPath))
                << ", \"line\": " << table.Line(referrer) << ", \"state\": \""
                << ReferrerStateText(ReferrerStateOf(page)) << "\"}";
            first = false;
        }
        out << (first ? "]" : "\n  ]");
        if (*reason)
            out << ", \"orphanReason\": " << JsonString(reason);
        out << "}\n";
        return;
    }
    out << Tr(ReferrersHeading) << PrintableText(path) << ":\n";
    for (const Referrer &referrer : table.Of(file)) {
        const FileObject &page = *table.Page(referrer);
        out << PrintableText(RelativePath(site, page.FullPath));
        if (const uint32_t line = table.Line(referrer))
            out << ':' << line;
        out << " (" << ReferrerStateText(ReferrerStateOf(page)) << ")\n";
    }
    if (*reason)
        out << Tr(OrphanedPrefix) << Tr(reason) << '\n';
}

} // namespace orvane::cli
