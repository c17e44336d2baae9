#include "commands/defaultapplication.h"

#include "base/strutil.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

// The names the desktop's shared MIME database gives these extensions; a page
// named ".shtml" is HTML for the desktop as much as for the site.
constexpr std::array<std::pair<const char *, const char *>, 16> ExtensionTypes{{
    {".HTML", "text/html"},
    {".HTM", "text/html"},
    {".SHTML", "text/html"},
    {".XHTML", "application/xhtml+xml"},
    {".JPG", "image/jpeg"},
    {".JPEG", "image/jpeg"},
    {".JPE", "image/jpeg"},
    {".GIF", "image/gif"},
    {".PNG", "image/png"},
    {".XPM", "image/x-xpixmap"},
    {".XBM", "image/x-xbitmap"},
    {".SVG", "image/svg+xml"},
    {".WEBP", "image/webp"},
    {".BMP", "image/bmp"},
    {".ICO", "image/vnd.microsoft.icon"},
    {".AVIF", "image/avif"},
}};

// The desktop tools are shell scripts that may hang on a broken session.
std::string askDesktopForType(const BrowserLookup &lookup, const std::string &path)
{
    if (!lookup.run)
        return {};
    const std::string answer = lookup.run({"xdg-mime", "query", "filetype", path});
    const std::string firstLine = answer.substr(0, answer.find('\n'));
    const std::string type = TrimControl(firstLine.substr(0, firstLine.find(';')));
    // Anything but "major/minor" is an error text of the tool, not a type.
    const size_t slash = type.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == type.size() ||
        type.find(' ') != std::string::npos)
        return {};
    return type;
}

} // namespace

std::string MimeTypeByExtension(const std::string &path)
{
    const std::string extension = AsciiUpper(ExtractFileExt(path));
    for (const auto &[known, type] : ExtensionTypes) {
        if (extension == known)
            return type;
    }
    return {};
}

std::string FileMimeType(const BrowserLookup &lookup, const std::string &path)
{
    std::string type = MimeTypeByExtension(path);
    return type.empty() ? askDesktopForType(lookup, path) : type;
}

BrowserCommand DefaultApplicationFor(const BrowserLookup &lookup, const std::string &path,
                                     const std::string &fallbackType)
{
    const std::string type = FileMimeType(lookup, path);
    BrowserCommand command = FindDefaultApplication(lookup, type);
    if (command.empty() && fallbackType != type)
        command = FindDefaultApplication(lookup, fallbackType);
    return command;
}

} // namespace orvane
