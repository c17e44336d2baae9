#pragma once

#include <ostream>
#include <string>

namespace orvane {
class Host;
class Site;
} // namespace orvane

namespace orvane::cli {

/// The report for people and editors, after a check with analysis: the two
/// lines of the summary, the orphaned files, then each invalid link once per
/// place its text stands in its page, as "page:line: link" (found as the tag
/// jump finds it), or "page: link" when the text is not found there. Paths are
/// relative to the home folder; names and links are decoded for display.
void WriteTextReport(std::ostream &out, const Site &site, const std::string &summary, Host &host);

} // namespace orvane::cli
