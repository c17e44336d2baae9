#pragma once

#include <string>

namespace orvane {

class Host;

enum class FileKind { html = 0, image = 1, other = 2 };

/// The sixteen program options, named after their keys in section "Option".
struct Settings
{
    std::string ExternalEditor;
    std::string ExternalViewer;
    bool IgnoreCase = false;
    std::string DefaultFileName = "index.html";
    bool isSpaceValid = false;
    std::string CommandLineOption = "%F";
    std::string TagJumpCommandLineOption = "%F";
    bool AnchorMakesFileBlue = true;
    int CheckLocalFile = 0; // -1 .. 1; every value but 0 checks the file
    bool IgnoreHTMLInfo = false;
    bool IgnoreJavaScript = true;
    bool HideInfoBoxAfterCheck = false;
    std::string ExtListHTML = ".HTM.HTML.SHTML";
    std::string ExtListImg = ".JPG.JPEG.GIF.PNG.XPM.XBM";
    // Links as today's browsers follow them: element ids and "#top" as
    // fragment targets, percent escapes and "&amp;" decoded, quotes around a
    // refresh target dropped. Off gives the classic rules alone.
    bool ModernLinks = true;
    // The language of the texts: 0 as the locale says, 1 Japanese, 2 English
    // (LanguageSetting in settings/language.h).
    int Language = 0;

    bool operator==(const Settings &) const = default;
};

/// Reads the sixteen keys of section "Option" from the INI file at iniPath,
/// each with its default where missing or unreadable.
void LoadSettings(Settings &settings, const std::string &iniPath);

/// Writes the sixteen keys into section "Option", leaving every other line of
/// the file as it was. On failure: an exclamation beep and the error message
/// "<path>\r\nに書き込みできませんでした" through host; returns false.
bool SaveSettings(const Settings &settings, const std::string &iniPath, Host &host);

/// The kind of a file from its extension (upper case, with its dot, empty for a
/// name without a dot): html when ext + "." occurs in ExtListHTML + ".", image
/// when it occurs in ExtListImg + ".", other otherwise.
FileKind ClassifyExtension(const Settings &settings, const std::string &ext);

/// The five window-placement keys of sections "WindowState" and
/// "ProjectWindowState", as plain values.
struct WindowPlacement
{
    int mainLeft = -1;
    int mainTop = -1;
    int projectLeft = -1;
    int projectTop = -1;
    bool projectVisible = true;
};
WindowPlacement ReadWindowPlacement(const std::string &iniPath);
/// Writes the five keys; returns false (and reports nothing) on failure.
bool WriteWindowPlacement(const WindowPlacement &placement, const std::string &iniPath);

/// Whether a window of the given size may be moved to a stored position: both
/// edges strictly positive and strictly below screen size minus window size.
bool PlacementApplies(int left, int top, int width, int height, int screenWidth, int screenHeight);

/// Where the settings live: "orvane.ini" beside the program when that file
/// exists or its folder is writable, unless the program is installed in the
/// system's folders (below /usr, /bin or /sbin); otherwise
/// $XDG_CONFIG_HOME/orvane/orvane.ini (default ~/.config/orvane/orvane.ini).
/// programPath is the program's own path (empty: use /proc/self/exe).
std::string SettingsFilePath(const std::string &programPath = {});

} // namespace orvane
