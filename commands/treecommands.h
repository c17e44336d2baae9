#pragma once

#include "base/usertext.h"

#include <cstddef>
#include <string>

namespace orvane {

class FileTree;
class Site;
class Project;
class TreeNode;

inline constexpr const char *MarkTopCaption = QT_TRANSLATE_NOOP("Orvane", "TOPページにする");
inline constexpr const char *UnmarkTopCaption = QT_TRANSLATE_NOOP("Orvane", "TOPマークを消す");
inline constexpr const char *IgnoreFileCaption =
    QT_TRANSLATE_NOOP("Orvane", "チェック対象から外す");
inline constexpr const char *IncludeFileCaption =
    QT_TRANSLATE_NOOP("Orvane", "再びチェック対象にする");
inline constexpr const char *IgnoreFolderCaption =
    QT_TRANSLATE_NOOP("Orvane", "このフォルダ以下をチェック対象から外す");

/// The enabled flags of the tree menu's top-level items and the two captions
/// that change. Default-constructed it is the menu before its first opening:
/// everything enabled, design-time captions.
struct TreeMenuState
{
    bool OpenWithExternalApp = true;
    bool OpenWithBrowser = true;
    bool MarkTop = true;
    bool IgnoreItem = true;
    bool BulkIgnoreItem = true;
    bool DeleteItem = true;
    bool UnMarkTopAll = true;
    bool expandAllNodeItem = true;
    bool collapseAllNodeItem = true;
    bool ShowProjectWindow = true;
    std::string MarkTopText = MarkTopCaption;
    std::string IgnoreItemText = IgnoreFileCaption;

    bool operator==(const TreeMenuState &) const = default;
};

/// The menu as it opens: every item off while busy; otherwise the four general
/// items on, and for a selected node other than the root delete, the exclusion
/// item and, by the file's kind, the TOP mark, open and open in browser. A
/// caption not recomputed keeps its text from previous.
TreeMenuState TreeMenuStateFor(const TreeMenuState &previous, bool busy, const TreeNode *selected,
                               const Project &project);

/// Ctrl+T / "TOPページにする" / "TOPマークを消す" with the item's current caption.
/// Beeps without a selected file. Marking applies to pages only and analyses
/// again; unmarking makes the file reached and drops it from the top pages
/// without a new analysis.
void MarkTopClick(Site &site, const std::string &markTopText);

/// Makes every file unreached (and every anchor unreferenced), drops all top
/// pages, even after a halt, and analyses again.
void UnMarkTopAllClick(Site &site);

/// Excludes or includes the selected file, or excludes everything below the
/// selected folder or anchor node. Nothing without a selection; no analysis.
void IgnoreItemClick(Site &site);

/// Excludes every file anywhere below node, which must carry no file object
/// (assertion naming "mainform").
void IgnoreFolderFiles(Site &site, TreeNode *node);

/// Excludes every file whose file name (or, for the Ext variant, extension)
/// equals the selected file's without regard to ASCII case. A file without a
/// dot has the empty extension. Asserts ("mainform") that a file is selected.
void SameNameIgnoreItemClick(Site &site);
void SameExtIgnoreItemClick(Site &site);

/// The second paragraph of a deletion's confirmation, when pages that stay
/// link to what goes: the count of links, then the first BrokenLinkPagesShown
/// pages one a line, then how many more pages there are.
inline constexpr const char *BrokenLinksLine =
    QT_TRANSLATE_NOOP("Orvane", "残るページからのリンク %1 個が切れます:");
inline constexpr const char *BrokenLinksMore = QT_TRANSLATE_NOOP("Orvane", "ほか %1 ページ");
inline constexpr size_t BrokenLinkPagesShown = 5;

/// Deletes the selected file or folder from disk after a confirmation (which
/// says which links the deletion breaks in pages that stay), and on
/// success releases every file object below it, drops its folder nodes and
/// removes the node. The root gives "指定したアイテムは削除できません"; failures
/// give their message and change nothing in the tree or the project. The
/// path is taken from the folder the tree was scanned from, one name at a
/// time: a path through a symbolic link or onto another mount is refused
/// with its own message, and nothing is deleted.
void DeleteItemClick(Site &site);

/// The folder path of a node without a file object: HomeDir followed by the
/// texts of the node and its ancestors below the root, each with "/".
std::string FolderNodePath(const TreeNode *node, const std::string &homeDir);

enum class DoubleClickAction { None, Browser, Beep, Open };

/// What a double click on the selected node does: nothing on no selection, the
/// root or a node without a file; with Shift the browser; else a beep for a
/// file of kind other and the external program for the rest.
DoubleClickAction DoubleClickActionFor(const TreeNode *selected, bool shift);

/// Expands (collapses) every node, root included, in one repaint bracket.
void expandAllNodeItemClick(FileTree &tree);
void collapseAllNodeItemClick(FileTree &tree);

} // namespace orvane
