#pragma once

#include <ostream>
#include <string>

namespace orvane {
class Site;
} // namespace orvane

namespace orvane::cli {

/// The report for people and editors, after a check with analysis: the two
/// lines of the summary, the orphaned files, then for each page with invalid
/// links one line per distinct invalid link, in the order the page first names
/// them: "page:line: link (reason)", line being where the page first names it
/// and reason "missing file", "missing anchor" or "file URL", followed by
/// "(+N)" when the page names it N more times, and by " -> suggested link"
/// when the link has a hint. No page is read again: the
/// lines were kept when the links were extracted. Paths are relative to the
/// home folder; names and links are decoded for display. Written as it goes.
void WriteTextReport(std::ostream &out, Site &site, const std::string &summary);

} // namespace orvane::cli
