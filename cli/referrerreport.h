#pragma once

#include <ostream>

namespace orvane {
class FileObject;
class Site;
} // namespace orvane

namespace orvane::cli {

/// The pages that link to one file, after a check with analysis. As text: a
/// heading "pages linking to FILE:", one line "page:line (state)" a page, and
/// for an orphan a last line "orphaned: reason". As JSON: one object with
/// "path", "referrers" (each with "page", "line" and "state") and, for an
/// orphan, "orphanReason". Paths are relative to the home folder.
void WriteReferrersReport(std::ostream &out, Site &site, const FileObject &file, bool json);

} // namespace orvane::cli
