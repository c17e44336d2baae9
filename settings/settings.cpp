#include "settings/settings.h"

#include "base/errors.h"
#include "base/host.h"
#include "base/profilefile.h"
#include "base/strutil.h"
#include "base/usertext.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace orvane {

namespace {

constexpr const char *OptionSection = "Option";
constexpr const char *MainWindowSection = "WindowState";
constexpr const char *ProjectWindowSection = "ProjectWindowState";
constexpr const char *SettingsFileName = "orvane.ini";

// A value beyond the range of int is as unusable as text that is no number.
int readInt(const ProfileFile &file, const char *section, const char *key, int defaultValue)
{
    const long value = file.ReadInteger(section, key, defaultValue);
    return (value < INT_MIN || value > INT_MAX) ? defaultValue : static_cast<int>(value);
}

// The settings folder may not exist yet on the first write; whether making it
// worked shows when the file is written.
void makeParentFolder(const std::string &path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
}

bool saveFile(const ProfileFile &file)
{
    try {
        makeParentFolder(file.path());
        file.Save();
        return true;
    } catch (const EWriteError &) {
        return false;
    }
}

void writeOptions(ProfileFile &file, const Settings &settings)
{
    file.WriteString(OptionSection, "ExternalEditor", settings.ExternalEditor);
    file.WriteString(OptionSection, "ExternalViewer", settings.ExternalViewer);
    file.WriteBool(OptionSection, "IgnoreCase", settings.IgnoreCase);
    file.WriteString(OptionSection, "DefaultFileName", settings.DefaultFileName);
    file.WriteBool(OptionSection, "isSpaceValid", settings.isSpaceValid);
    file.WriteString(OptionSection, "CommandLineOption", settings.CommandLineOption);
    file.WriteString(OptionSection, "TagJumpCommandLineOption", settings.TagJumpCommandLineOption);
    file.WriteBool(OptionSection, "AnchorMakesFileBlue", settings.AnchorMakesFileBlue);
    file.WriteInteger(OptionSection, "CheckLocalFile", settings.CheckLocalFile);
    file.WriteBool(OptionSection, "IgnoreHTMLInfo", settings.IgnoreHTMLInfo);
    file.WriteBool(OptionSection, "IgnoreJavaScript", settings.IgnoreJavaScript);
    file.WriteBool(OptionSection, "HideInfoBoxAfterCheck", settings.HideInfoBoxAfterCheck);
    file.WriteString(OptionSection, "ExtListHTML", settings.ExtListHTML);
    file.WriteString(OptionSection, "ExtListImg", settings.ExtListImg);
    file.WriteBool(OptionSection, "ModernLinks", settings.ModernLinks);
    file.WriteInteger(OptionSection, "Language", settings.Language);
}

std::string programFile()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

std::string homeFolder()
{
    const char *home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd *entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

std::string userSettingsPath()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (config && config[0] == '/')
        return IncludeTrailingDelimiter(config) + "orvane/" + SettingsFileName;
    return IncludeTrailingDelimiter(homeFolder()) + ".config/orvane/" + SettingsFileName;
}

/// The system's own program folders: a program installed there by a package
/// is shared by every user and must not keep one user's settings beside it,
/// even when run by root, who could write there.
bool isSystemProgramFolder(const std::string &folder)
{
    for (const char *system : {"/usr/", "/bin/", "/sbin/"}) {
        if (StartsWith(folder, system))
            return true;
    }
    return false;
}

} // namespace

void LoadSettings(Settings &settings, const std::string &iniPath)
{
    const Settings defaults;
    const ProfileFile file(iniPath);
    const auto text = [&](const char *key, const std::string &defaultValue) {
        return file.ReadString(OptionSection, key, defaultValue);
    };
    const auto flag = [&](const char *key, bool defaultValue) {
        return file.ReadBool(OptionSection, key, defaultValue);
    };
    settings.ExternalEditor = text("ExternalEditor", defaults.ExternalEditor);
    settings.ExternalViewer = text("ExternalViewer", defaults.ExternalViewer);
    settings.IgnoreCase = flag("IgnoreCase", defaults.IgnoreCase);
    settings.DefaultFileName = text("DefaultFileName", defaults.DefaultFileName);
    settings.isSpaceValid = flag("isSpaceValid", defaults.isSpaceValid);
    settings.CommandLineOption = text("CommandLineOption", defaults.CommandLineOption);
    settings.TagJumpCommandLineOption =
        text("TagJumpCommandLineOption", defaults.TagJumpCommandLineOption);
    settings.AnchorMakesFileBlue = flag("AnchorMakesFileBlue", defaults.AnchorMakesFileBlue);
    settings.CheckLocalFile = static_cast<int>(std::clamp(
        file.ReadInteger(OptionSection, "CheckLocalFile", defaults.CheckLocalFile), -1L, 1L));
    settings.IgnoreHTMLInfo = flag("IgnoreHTMLInfo", defaults.IgnoreHTMLInfo);
    settings.IgnoreJavaScript = flag("IgnoreJavaScript", defaults.IgnoreJavaScript);
    settings.HideInfoBoxAfterCheck = flag("HideInfoBoxAfterCheck", defaults.HideInfoBoxAfterCheck);
    settings.ExtListHTML = text("ExtListHTML", defaults.ExtListHTML);
    settings.ExtListImg = text("ExtListImg", defaults.ExtListImg);
    settings.ModernLinks = flag("ModernLinks", defaults.ModernLinks);
    const long language = file.ReadInteger(OptionSection, "Language", defaults.Language);
    // A value from a later version, or none at all, leaves the choice to the locale.
    settings.Language = language >= 0 && language <= 2 ? static_cast<int>(language) : 0;
}

bool SaveSettings(const Settings &settings, const std::string &iniPath, Host &host)
{
    ProfileFile file(iniPath);
    try {
        writeOptions(file, settings);
        if (saveFile(file))
            return true;
    } catch (const EWriteError &) {
        // A text option with a line break (a program path may hold one)
        // cannot be stored; the file stays as it was, as after a failed write.
    }
    host.beep(Sound::Exclamation);
    host.error(Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nに書き込みできませんでした"), {iniPath}));
    return false;
}

FileKind ClassifyExtension(const Settings &settings, const std::string &ext)
{
    // Every entry brings its own leading dot, so with the closing dot the
    // probe ".HTM." meets ".HTM" but never the start of ".HTML".
    const std::string probe = ext + ".";
    if ((AsciiUpper(settings.ExtListHTML) + ".").find(probe) != std::string::npos)
        return FileKind::html;
    if ((AsciiUpper(settings.ExtListImg) + ".").find(probe) != std::string::npos)
        return FileKind::image;
    return FileKind::other;
}

WindowPlacement ReadWindowPlacement(const std::string &iniPath)
{
    const ProfileFile file(iniPath);
    WindowPlacement placement;
    placement.mainLeft = readInt(file, MainWindowSection, "Left", placement.mainLeft);
    placement.mainTop = readInt(file, MainWindowSection, "Top", placement.mainTop);
    placement.projectLeft = readInt(file, ProjectWindowSection, "Left", placement.projectLeft);
    placement.projectTop = readInt(file, ProjectWindowSection, "Top", placement.projectTop);
    placement.projectVisible =
        file.ReadBool(ProjectWindowSection, "Visible", placement.projectVisible);
    return placement;
}

bool WriteWindowPlacement(const WindowPlacement &placement, const std::string &iniPath)
{
    ProfileFile file(iniPath);
    file.WriteInteger(MainWindowSection, "Left", placement.mainLeft);
    file.WriteInteger(MainWindowSection, "Top", placement.mainTop);
    file.WriteInteger(ProjectWindowSection, "Left", placement.projectLeft);
    file.WriteInteger(ProjectWindowSection, "Top", placement.projectTop);
    file.WriteBool(ProjectWindowSection, "Visible", placement.projectVisible);
    return saveFile(file);
}

bool PlacementApplies(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    // In long long so that extreme stored values cannot overflow the test.
    const long long maxLeft = static_cast<long long>(screenWidth) - width;
    const long long maxTop = static_cast<long long>(screenHeight) - height;
    return left > 0 && top > 0 && left < maxLeft && top < maxTop;
}

std::string SettingsFilePath(const std::string &programPath)
{
    const std::string program = programPath.empty() ? programFile() : programPath;
    std::string folder(ExtractFilePath(program));
    if (program.empty() || isSystemProgramFolder(folder))
        return userSettingsPath();
    if (folder.empty())
        folder = "./";
    const std::string beside = folder + SettingsFileName;
    std::error_code ec;
    if (std::filesystem::exists(beside, ec) || ::access(folder.c_str(), W_OK) == 0)
        return beside;
    return userSettingsPath();
}

} // namespace orvane
