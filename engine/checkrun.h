#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace orvane {

class Site;
class TreeNode;

/// Starts afresh on a folder without a project: forgets the top pages and the
/// excluded files (patterns and server root stay), checks the folder without
/// analysis, leaves the project untitled and asks for a top page.
void OpenFolder(Site &site, const std::string &path);

/// The check run: resets the counters; an empty path ends silently; a path that
/// is no folder gives "ディレクトリが存在しません" and leaves the tree as it was.
/// Otherwise the project takes the folder as home folder, the site is loaded,
/// analysed when asked, and the summary box (or a beep) ends the run.
void CheckFolder(Site &site, const std::string &path, bool analyse);

/// Clears the tree and all file objects, scans the folder, classifies every link.
void LoadSite(Site &site, const std::string &folder);

/// Classifies the links of every file object, in order, letting events run
/// before each page is updated; the classifying itself uses every core.
void CheckAllLinks(Site &site);

/// The number of links for the next batch of CheckAllLinks, after a batch of
/// links took the time given: half when it went beyond aim, twice as many
/// when it stayed under half of it, within bounds.
size_t NextBatchLinks(size_t links, std::chrono::steady_clock::duration took,
                      std::chrono::steady_clock::duration aim);

/// Classifies all links anew and re-analyses, without reading any page.
void RecheckLinks(Site &site);

/// Fills the three link lists (through the host) for a node, each invalid
/// link with its hint when it has one, then the pages that link to the node's
/// file and, for an orphan, why. Other than a page node has no link lists; a
/// node without a file shows nothing.
void ShowLinkLists(Site &site, TreeNode *node);

/// Reopen: checks the project's home folder again with the analysis, keeping the
/// project's lists.
void ReopenFolder(Site &site);

/// Whether path names an existing folder.
bool DirectoryExists(const std::string &path);
/// Whether path names an existing regular file (symbolic links followed).
bool FileExists(const std::string &path);

/// Opens a project file: "<path>\r\nが見つかりません" when there is no file (a
/// folder included), "<path>\r\nは通常のファイルではありません" for a FIFO or a
/// device, which is never read;
/// otherwise reads it into the project and, when the project has a home folder,
/// checks it with the analysis and titles the windows after the file. Returns
/// false when the file was not found.
bool OpenProject(Site &site, const std::string &path);

/// Saves the project to path and titles the windows after it. On failure shows
/// "<path> に書き込めません" and returns false; the old file stays intact.
bool SaveProject(Site &site, const std::string &path);

} // namespace orvane
