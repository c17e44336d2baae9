#pragma once

#include "base/usertext.h"

#include <ostream>
#include <string>

namespace orvane {
class FileObject;
class Site;
} // namespace orvane

namespace orvane::cli {

/// The annotation texts, after which the link or nothing follows.
/// As written; Tr() gives them in the interface language.
inline constexpr const char *InvalidLinkAnnotation = QT_TRANSLATE_NOOP("Orvane", "無効リンク: ");
inline constexpr const char *OrphanAnnotation =
    QT_TRANSLATE_NOOP("Orvane", "孤立ファイル: TOPページからリンクをたどっても届きません");

/// The report as workflow commands for a CI log, after a check with analysis:
/// the summary lines, then one "::error file=PAGE,line=N::" annotation per
/// distinct invalid link of each page, in the order the page first names
/// them, at the line where it first stands, with why it is invalid and, when
/// it has a hint, " -> suggested link", and one "::warning file=FILE::" per
/// orphaned file. Paths are
/// relative to currentFolder (an absolute folder); texts are decoded for
/// display and escaped as the workflow commands need.
void WriteGithubReport(std::ostream &out, Site &site, const std::string &summary,
                       const std::string &currentFolder);

/// A workflow command's message: "%", CR and LF as %25, %0D and %0A; other
/// control characters as \t or \xNN, so that the message stays on its line.
std::string EscapeWorkflowData(const std::string &text);

/// A workflow command's property value: as EscapeWorkflowData, and ":" and
/// "," as %3A and %2C.
std::string EscapeWorkflowProperty(const std::string &text);

/// path as seen from folder (both absolute and expanded): "../" for every
/// segment of folder that path does not share, then the rest of path; "." for
/// folder itself.
std::string PathRelativeTo(const std::string &path, const std::string &folder);

} // namespace orvane::cli
