#pragma once

#include "base/usertext.h"

#include <string>
#include <vector>

namespace orvane {

class Site;
struct BrowserLookup;

/// Shown when no program is set for a file and the desktop names no default
/// application for its type either.
inline constexpr const char *NoApplicationMessage = QT_TRANSLATE_NOOP(
    "Orvane",
    "外部アプリケーションが設定されておらず、この種類のファイルを開く既定のアプリケーションも"
    "ありません。\r\n「Config」の「外部アプリケーション」で指定してください。");

/// The status line after a tag jump without an editor: the page was opened
/// with the desktop's application, which is not told the line.
inline constexpr const char *TagJumpNeedsEditorStatus =
    QT_TRANSLATE_NOOP("Orvane", "行へジャンプするには「Config」でエディタを指定してください");

/// Starts other programs: the editor, the image viewer, the web browser. The
/// window and the command-line tool use ProcessLauncher; tests record calls.
class Launcher
{
public:
    virtual ~Launcher() = default;
    /// Starts program with args (argv[1] on), without waiting for it. Returns
    /// true when the program is running, false when it could not be started.
    virtual bool start(const std::string &program, const std::vector<std::string> &args) = 0;
};

/// Starts programs detached from this one: in their own session, never waited
/// for, and not left behind as zombies. A program name without "/" is looked up
/// in PATH. "Started" means the program image was executed.
class ProcessLauncher : public Launcher
{
public:
    bool start(const std::string &program, const std::vector<std::string> &args) override;
};

/// The path a program name is run from: a name with "/" as it is, any other
/// name searched in path (a PATH value; empty entries mean the current folder).
/// Empty when nothing executable is found.
std::string FindProgram(const std::string &program, const std::string &path);

/// Runs a program, waits for it at most timeoutMs milliseconds (then kills it)
/// and returns what it wrote to standard output; empty when it could not run.
std::string CaptureOutput(const std::vector<std::string> &argv, int timeoutMs);

/// Splits a parameter string into words as a POSIX shell does, without any
/// expansion: blanks (space, tab, newline) separate words; '...' keeps every
/// byte; "..." keeps every byte but lets "\" escape $ ` " \ and a newline;
/// elsewhere "\" escapes the next byte and "\" + newline vanishes. Quotes can
/// make an empty word (""). An unterminated quote runs to the end.
std::vector<std::string> SplitCommandLine(const std::string &parameters);

/// The line number of a tag-jump menu caption ("12: snippet"): the part before
/// its first ":", blanks and control characters trimmed.
std::string TagJumpLine(const std::string &caption);

/// "開く": opens the selected file in its program, the editor (ExternalEditor,
/// with EditorArguments of CommandLineOption) for a page and the
/// viewer (ExternalViewer, the path as one argument) for an image. When that
/// setting is empty, the file goes to the desktop's default application for
/// its type (a page without a known type to the one for text/html), found
/// through desktop; with none, NoApplicationMessage. Beeps when nothing or no
/// file is selected or the file is neither; when the program does not start,
/// beeps and shows "外部アプリケーション\r\n<program>\r\nを開けません".
void OpenWithExternalAppClick(Site &site, Launcher &launcher, const BrowserLookup &desktop);

/// A tag-jump item: starts ExternalEditor with TagJumpCommandLineOption, "%N"
/// replaced by the caption's line number first and "%F" by the selected page's
/// path after (TagJumpArguments). Without an editor the page opens as with
/// OpenWithExternalAppClick and the status line says TagJumpNeedsEditorStatus.
/// Failure as OpenWithExternalAppClick; beeps when no file is selected.
void TagJumpClick(Site &site, Launcher &launcher, const BrowserLookup &desktop,
                  const std::string &caption);

/// The parameter words for the editor on a page: the template split into words,
/// then "%F" replaced in each ("%N" stays as it is). The path never splits into
/// words nor ends a quote, whatever its name holds.
std::vector<std::string> EditorArguments(const std::string &commandLineOption,
                                         const std::string &fullPath);
/// The parameter words for a tag jump: as EditorArguments, with "%N" replaced
/// before "%F" in each word.
std::vector<std::string> TagJumpArguments(const std::string &tagJumpCommandLineOption,
                                          const std::string &line, const std::string &fullPath);

} // namespace orvane
