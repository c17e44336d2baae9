#include "cli/textreport.h"

#include "base/usertext.h"
#include "cli/consolehost.h"
#include "cli/orderedwrite.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/linkhints.h"
#include "engine/site.h"

#include <array>

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

constexpr size_t ReasonCount = 3;
static_assert(static_cast<size_t>(InvalidReason::fileUrl) + 1 == ReasonCount);

/// The lines of a page's invalid links; only reads the site, so pages are
/// rendered side by side. The reason words are translated beforehand.
struct InvalidLinkRenderer
{
    const Site &site;
    const LinkHints *hints;                       // null when no page has invalid links
    std::array<std::string, ReasonCount> reasons; // by InvalidReason

    explicit InvalidLinkRenderer(Site &site)
        : site(site)
        , hints(HintsForReport(site))
    {
        for (size_t k = 0; k < ReasonCount; ++k)
            reasons[k] = Tr(InvalidReasonText(static_cast<InvalidReason>(k)));
    }

    void operator()(std::string &out, const FileObject &page) const
    {
        if (page.InvalidLinks.empty())
            return;
        const std::string path = PrintableText(RelativePath(site, page.FullPath));
        for (const InvalidLinkEntry &entry : InvalidLinksInPageOrder(page, hints)) {
            out += path;
            if (entry.line > 0)
                out += ':' + std::to_string(entry.line);
            out += ": ";
            out += PrintableText(std::string(entry.link));
            out += " (";
            out += reasons[static_cast<size_t>(entry.reason)];
            out += ')';
            if (entry.count > 1)
                out += " (+" + std::to_string(entry.count - 1) + ')';
            if (!entry.suggestion.empty())
                out += " -> " + PrintableText(entry.suggestion);
            out += '\n';
        }
    }
};

} // namespace

void WriteTextReport(std::ostream &out, Site &site, const std::string &summary)
{
    writeSummary(out, summary);
    out << Tr(QT_TRANSLATE_NOOP("Orvane", "orphaned files:")) << '\n';
    for (const FileObject *orphan : Orphans(site))
        out << PrintableText(RelativePath(site, orphan->FullPath)) << '\n';
    out << Tr(QT_TRANSLATE_NOOP("Orvane", "invalid links:")) << '\n';
    const InvalidLinkRenderer render(site);
    WriteInOrder(out, site.FileObjects.size(),
                 [&](size_t i, std::string &text) { render(text, *site.FileObjects[i]); });
}

} // namespace orvane::cli
