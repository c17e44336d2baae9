#pragma once

#include "base/errors.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane {

class Launcher;
class Site;

/// The message given on every attempt to open something when the desktop names
/// no web browser or the one it names cannot be run.
inline constexpr const char *NoBrowserMessage = "Das angegebene Browserprogramm exitiert nicht!";

/// Raised by OpenInBrowser without a browser; what() is NoBrowserMessage.
class EBrowserNotFound : public OrvaneError
{
public:
    EBrowserNotFound()
        : OrvaneError(NoBrowserMessage)
    {
    }
};

/// How the default browser is run: its Exec line split into words, and where a
/// target goes. With targetArg = -1 the target is appended as its own word;
/// otherwise it is inserted into args[targetArg] at byte targetOffset.
struct BrowserCommand
{
    std::string program; // empty: no browser found
    std::vector<std::string> args;
    int targetArg = -1;
    size_t targetOffset = 0;

    bool empty() const { return program.empty(); }
    /// The argument words for opening target (passed unchanged).
    std::vector<std::string> argumentsFor(const std::string &target) const;
};

/// What the look-up asks of the desktop; the real one runs commands and reads
/// the XDG folders, tests give fixed answers.
struct BrowserLookup
{
    /// Standard output of a command (argv), empty when it fails.
    std::function<std::string(const std::vector<std::string> &)> run;
    /// Folders holding .desktop files, most important first.
    std::vector<std::string> applicationDirs;
};

/// The look-up against this desktop: runs the commands with a time limit and
/// searches $XDG_DATA_HOME (default ~/.local/share) and $XDG_DATA_DIRS (default
/// /usr/local/share:/usr/share), each + "/applications".
BrowserLookup SystemBrowserLookup();

/// The "applications" folders of the XDG data folders, from the values of
/// XDG_DATA_HOME, XDG_DATA_DIRS and HOME (null or empty for unset).
std::vector<std::string> ApplicationDirs(const char *dataHome, const char *dataDirs,
                                         const char *home);

/// The desktop's default web browser: the handler of text/html from
/// "xdg-mime query default text/html", else from "xdg-settings get
/// default-web-browser", resolved through its .desktop file. Empty when none
/// is found or its entry has no usable Exec line.
BrowserCommand FindBrowser(const BrowserLookup &lookup);

/// The desktop's default application for a MIME type ("image/png"): the
/// handler from "xdg-mime query default TYPE", resolved through its .desktop
/// file as FindBrowser does. Empty for an empty type, or when none is found.
BrowserCommand FindDefaultApplication(const BrowserLookup &lookup, const std::string &mimeType);

/// The path of the .desktop file with the given id in dirs ("a-b.desktop" may
/// also stand for "a/b.desktop"); empty when there is none.
std::string FindDesktopFile(const std::string &desktopId, const std::vector<std::string> &dirs);

/// The Exec value of the [Desktop Entry] group of a .desktop file's text, with
/// the string escapes (\s \n \t \r \\) undone; empty when missing.
std::string DesktopExecValue(const std::string &desktopFileText);

/// Turns an Exec value into a command: words split at blanks outside double
/// quotes ("\" escapes inside them), "%%" made "%", the first of %f %F %u %U
/// marks where the target goes, every other field code dropped.
BrowserCommand ParseDesktopExec(const std::string &exec);

/// Opens targets (local paths or URLs, passed unchanged) in the browser found
/// once at start-up, without waiting for it.
class WebBrowser
{
public:
    WebBrowser(BrowserCommand command, Launcher &launcher)
        : m_command(std::move(command))
        , m_launcher(launcher)
    {
    }

    const BrowserCommand &command() const { return m_command; }

    /// Throws EBrowserNotFound when there is no browser or it does not start.
    void OpenInBrowser(const std::string &target);

private:
    BrowserCommand m_command;
    Launcher &m_launcher;
};

/// "ブラウザーで開く": the selected file (any kind) in the browser; a beep
/// when nothing, the root or a node without a file is selected. Throws
/// EBrowserNotFound as OpenInBrowser.
void OpenWithBrowserClick(Site &site, WebBrowser &browser);

} // namespace orvane
