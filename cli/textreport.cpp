#include "cli/textreport.h"

#include "base/usertext.h"
#include "cli/consolehost.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/linkhints.h"
#include "engine/site.h"

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

void writeInvalidLinks(std::ostream &out, Site &site, const FileObject &page)
{
    if (page.InvalidLinks.empty())
        return;
    const std::string path = PrintableText(RelativePath(site, page.FullPath));
    for (const InvalidLinkEntry &entry : InvalidLinksInPageOrder(page, &site.Hints())) {
        out << path;
        if (entry.line > 0)
            out << ':' << entry.line;
        out << ": " << PrintableText(std::string(entry.link)) << " ("
            << Tr(InvalidReasonText(entry.reason)) << ')';
        if (entry.count > 1)
            out << " (+" << entry.count - 1 << ')';
        if (!entry.suggestion.empty())
            out << " -> " << PrintableText(entry.suggestion);
        out << '\n';
    }
}

} // namespace

void WriteTextReport(std::ostream &out, Site &site, const std::string &summary)
{
    writeSummary(out, summary);
    out << Tr(QT_TRANSLATE_NOOP("Orvane", "orphaned files:")) << '\n';
    for (const FileObject *orphan : Orphans(site))
        out << PrintableText(RelativePath(site, orphan->FullPath)) << '\n';
    out << Tr(QT_TRANSLATE_NOOP("Orvane", "invalid links:")) << '\n';
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        writeInvalidLinks(out, site, *site.FileObjects[i]);
}

} // namespace orvane::cli
