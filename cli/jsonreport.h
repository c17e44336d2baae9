#pragma once

#include <ostream>
#include <string>

namespace orvane {
class Site;
}

namespace orvane::cli {

/// The report for programs, after a check with analysis: one JSON object with
/// homeDir, fileCount, filesWithInvalidLinks, invalidLinkTotal, orphans,
/// attentionFolders and files; lists in the engine's order, paths relative to
/// the home folder, every text decoded for display. A page whose invalid
/// links have hints gets "hints" (link to suggested link); with referrers,
/// every file gets "referrers", the pages linking to it, each with "page",
/// "line" and "state".
void WriteJsonReport(std::ostream &out, Site &site, bool referrers = false);

/// A JSON string literal of text decoded for display: quotes, backslashes and
/// control characters escaped.
std::string JsonString(const std::string &bytes);

} // namespace orvane::cli
