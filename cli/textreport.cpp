#include "cli/textreport.h"

#include "base/errors.h"
#include "cli/consolehost.h"
#include "cli/sitereport.h"
#include "commands/findinfile.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "settings/settings.h"

#include <vector>

namespace orvane::cli {

namespace {

// The snippet is not shown; these are the widths the tag jump asks for.
constexpr int SnippetBefore = 2;
constexpr int SnippetAfter = 7;

void writeSummary(std::ostream &out, const std::string &summary)
{
    for (size_t i = 0; i < summary.size(); ++i) {
        if (summary[i] == '\r' && i + 1 < summary.size() && summary[i + 1] == '\n')
            continue;
        out << summary[i];
    }
    out << '\n';
}

/// Line numbers of every place the link stands in the page; none when the
/// page cannot be read now (the host has told why where it could).
std::vector<std::string> linkLines(const Site &site, const FileObject &page,
                                   const std::string &link, Host &host)
{
    std::vector<std::string> lines;
    try {
        const std::vector<std::string> found = FindStringInFile(
            page.FullPath, link, SnippetBefore, SnippetAfter, site.settings().IgnoreCase, host);
        for (size_t i = 0; i + 1 < found.size(); i += 2)
            lines.push_back(found[i]);
    } catch (const OrvaneError &) {
    }
    return lines;
}

void writeInvalidLinks(std::ostream &out, const Site &site, const FileObject &page, Host &host)
{
    const std::string path = PrintableText(RelativePath(site, page.FullPath));
    for (size_t i = 0; i < page.InvalidLinks.size(); ++i) {
        const std::string &link = page.InvalidLinks[i];
        const std::string shown = PrintableText(link);
        const std::vector<std::string> lines = linkLines(site, page, link, host);
        if (lines.empty())
            out << path << ": " << shown << '\n';
        for (const std::string &line : lines)
            out << path << ':' << line << ": " << shown << '\n';
    }
}

} // namespace

void WriteTextReport(std::ostream &out, const Site &site, const std::string &summary, Host &host)
{
    writeSummary(out, summary);
    out << "orphaned files:\n";
    for (const FileObject *orphan : Orphans(site))
        out << PrintableText(RelativePath(site, orphan->FullPath)) << '\n';
    out << "invalid links:\n";
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        writeInvalidLinks(out, site, *site.FileObjects[i], host);
}

} // namespace orvane::cli
