#pragma once

#include "base/usertext.h"

#include <string>

namespace orvane {

class Host;
class Site;

/// The texts of the replace dialog: the page's file name, the text to replace
/// (shown literally) and the replacement the user edits.
struct ReplaceTexts
{
    std::string fileName;
    std::string before;
    std::string after;
};

/// The replace dialog as the command sees it.
class ReplacePrompt
{
public:
    virtual ~ReplacePrompt() = default;
    /// Shows the texts modally; returns true for OK, with after as edited.
    virtual bool execute(ReplaceTexts &texts) = 0;
};

/// The texts the dialog opens with for the page at fullPath: its file name,
/// and the clicked link as both the text to replace and the replacement.
ReplaceTexts ReplaceTextsFor(const std::string &fullPath, const std::string &clickedLink);

inline constexpr const char *ReplaceWriteFailedMessage = QT_TRANSLATE_NOOP(
    "Orvane",
    "ファイルへの書き込み時にエラーが置きました。\r\nファイルが読み取り専用の可能性があります");
inline constexpr const char *ReplaceDoneMessage = QT_TRANSLATE_NOOP("Orvane", "置換が完了しました");

/// Replaces every occurrence of before by after in the page at path (exact,
/// case-sensitive) and writes the result back through a temporary file in the
/// same folder, so the page is never left shortened; its permissions stay.
///
/// The page is reached from the home folder homeDir one name at a time and
/// written only while it is the regular file that was read (same device and
/// inode): a page whose path runs through a symbolic link or onto another
/// mount, a page that is itself a link, a FIFO, a device or a socket, or one
/// that another file took the place of meanwhile, gets the warning
/// ReplaceWriteFailedMessage and is left alone, as do a read-only page (the
/// owner's write permission decides, for every user) and a failed write.
/// Read failures of ReadFileAll propagate (nothing is written); a page that
/// is gone or became a folder is such a failure. Temporary files that killed
/// replaces left in the folder are removed first. Success gives the
/// information sound and ReplaceDoneMessage. Returns whether the page was
/// written.
bool ReplaceInFile(const std::string &homeDir, const std::string &path, const std::string &before,
                   const std::string &after, Host &host);

/// "文字列の置換...": for the page of the selected node, asks through dialog
/// (starting with the link the hint suggests, when the clicked link is an
/// invalid link with a hint)
/// and on OK replaces clickedLink by the edited text in the file, the home
/// folder being the one the tree was scanned from. Nothing happens without a
/// selected file or when the dialog is cancelled. The tree and the link lists
/// are left as they are.
void replaceClick(Site &site, const std::string &clickedLink, ReplacePrompt &dialog);

} // namespace orvane
