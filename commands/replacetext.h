#pragma once

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

inline constexpr const char *ReplaceWriteFailedMessage =
    "ファイルへの書き込み時にエラーが置きました。\r\nファイルが読み取り専用の可能性があります";
inline constexpr const char *ReplaceDoneMessage = "置換が完了しました";

/// Whether the page counts as read-only: the kernel refuses the current user
/// write access, or the file lacks its owner's write permission (which counts
/// for every user, root included). A missing file counts as read-only too.
bool IsReadOnlyFile(const std::string &path);

/// Replaces every occurrence of before by after in the file at path (exact,
/// case-sensitive) and writes the result back through a temporary file in the
/// same folder, so the page is never left shortened; its permissions stay.
/// A link is written through to its target. Read failures of ReadFileAll
/// propagate (nothing is written). A read-only page or a failed write gives
/// the warning ReplaceWriteFailedMessage and leaves the page as it was; success
/// gives the information sound and ReplaceDoneMessage. Returns whether the
/// page was written.
bool ReplaceInFile(const std::string &path, const std::string &before, const std::string &after,
                   Host &host);

/// "文字列の置換...": for the page of the selected node, asks through dialog
/// and on OK replaces clickedLink by the edited text in the file. Nothing
/// happens without a selected file or when the dialog is cancelled. The tree
/// and the link lists are left as they are.
void replaceClick(Site &site, const std::string &clickedLink, ReplacePrompt &dialog);

} // namespace orvane
