#pragma once

#include "base/usertext.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
class Site;
class FileObject;
class LinkHints;
enum class InvalidReason : uint8_t;
enum class ReferrerState : uint8_t;
enum class OrphanReason;
} // namespace orvane

namespace orvane::cli {

/// The path of a file or folder below the site's home folder, relative to it;
/// a path outside it stays whole.
std::string RelativePath(const Site &site, const std::string &fullPath);

/// The orphaned files: not excluded and unreached, in FileObjects order.
std::vector<const FileObject *> Orphans(const Site &site);

/// The folders that need attention (cyan), in FolderNodes order, each as its
/// path relative to the home folder with a trailing "/".
std::vector<std::string> AttentionFolders(const Site &site);

/// One invalid link of a page as the reports give it.
struct InvalidLinkEntry
{
    std::string_view link; // as the current rules read it (a quoted refresh target unquoted)
    uint32_t line;         // where the page first names it, from 1; 0 when unknown
    uint32_t count;        // how many times the page names it
    InvalidReason reason;
    std::string suggestion; // what it probably meant, when hints were asked for
};

/// The invalid links of a page in the order the page first names them, each
/// with its hint when hints are given.
std::vector<InvalidLinkEntry> InvalidLinksInPageOrder(const FileObject &page,
                                                      const LinkHints *hints = nullptr);

/// The words that say why a link is invalid: "missing file", "missing anchor"
/// or "file URL".
const char *InvalidReasonText(InvalidReason reason);

/// The word for the state of a page that links to a file: "reached",
/// "unreached" or "excluded" (a top page is reached).
const char *ReferrerStateText(ReferrerState state);

/// Why an orphan is one: "no page links here" or "every page linking here is
/// itself orphaned or excluded"; empty for none.
const char *OrphanReasonText(OrphanReason reason);

/// The heading of the referrer list of one file.
inline constexpr const char *ReferrersHeading = QT_TRANSLATE_NOOP("Orvane", "pages linking to ");
/// What the line of an orphan's reason starts with.
inline constexpr const char *OrphanedPrefix = QT_TRANSLATE_NOOP("Orvane", "orphaned: ");

/// The site's hints, made now so that files can be rendered side by side;
/// none when no page has invalid links.
const LinkHints *HintsForReport(Site &site);

/// Whether the check found anything: a page with invalid links or an orphan.
bool HasFindings(const Site &site);

} // namespace orvane::cli
