#include "base/urlpath.h"

#include "base/strutil.h"

#include <algorithm>

#include <unistd.h>

namespace orvane {

void BackslashToSlash(std::string &text)
{
    for (char &c : text)
        if (c == '\\')
            c = '/';
}

static std::string currentFolder()
{
    std::string buffer(4096, '\0');
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() > (1u << 20))
            return "/";
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

static std::string expandSegments(std::string_view path);

/// Whether an absolute path is already in expanded form: no empty, "." or ".."
/// segment anywhere. Most joined links are, and need no rebuilding.
static bool isExpanded(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return false;
    // Looks at what follows each "/": another "/", or "." or ".." as a whole
    // segment.
    const size_t n = path.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (path[i] != '/')
            continue;
        if (path[i + 1] == '/')
            return false;
        if (path[i + 1] != '.')
            continue;
        size_t end = i + 2; // after "."
        if (end < n && path[end] == '.')
            ++end; // after ".."
        if (end == n || path[end] == '/')
            return false;
    }
    return true;
}

std::string ExpandFileName(std::string_view path)
{
    if (isExpanded(path))
        return std::string(path);
    return expandSegments(path);
}

/// The expansion proper, segment by segment.
static std::string expandSegments(std::string_view path)
{
    std::string input;
    if (path.empty() || path.front() != '/')
        input = currentFolder() + "/";
    input.append(path);

    // The result is built as it goes: "/" and a segment for each name, and a
    // ".." takes the last one off again.
    std::string result;
    result.reserve(input.size() + 1);
    bool trailing = !input.empty() && input.back() == '/';
    const std::string_view all(input);
    size_t pos = 0;
    while (pos <= all.size()) {
        size_t next = all.find('/', pos);
        if (next == std::string_view::npos)
            next = all.size();
        const std::string_view segment = all.substr(pos, next - pos);
        if (segment == "..") {
            if (!result.empty())
                result.resize(result.rfind('/'));
        } else if (!segment.empty() && segment != ".") {
            result += '/';
            result.append(segment);
        }
        if (next == all.size() && (segment == "." || segment == ".."))
            trailing = false;
        pos = next + 1;
    }
    if (result.empty() || trailing)
        result += '/';
    return result;
}

/// Whether a relative path has only names for segments, the last one
/// possibly empty (a trailing "/").
static bool isPlainRelative(std::string_view path)
{
    if (!path.empty() && path.front() == '/')
        return false;
    size_t pos = 0;
    for (;;) {
        const size_t slash = path.find('/', pos);
        const std::string_view segment = path.substr(
            pos, slash == std::string_view::npos ? std::string_view::npos : slash - pos);
        if (segment == "." || segment == "..")
            return false;
        if (slash == std::string_view::npos)
            return true;
        if (segment.empty())
            return false;
        pos = slash + 1;
    }
}

/// Puts into out the expanded join of an expanded folder (ending in "/") and
/// a link that climbs out of it only through leading "../" and then names
/// plain segments: the usual relative link, put together in one go. False,
/// with out left alone, for anything else.
static bool joinPlain(std::string_view folder, std::string_view link, std::string &out)
{
    if (folder.empty() || folder.back() != '/' || !isExpanded(folder))
        return false;
    size_t end = folder.size(); // folder[0, end) ends in "/"
    while (StartsWith(link, "../")) {
        if (end > 1)
            end = folder.rfind('/', end - 2) + 1;
        link.remove_prefix(3);
    }
    if (!isPlainRelative(link))
        return false;
    out.assign(folder.substr(0, end));
    out.append(link);
    return true;
}

std::string URLToPath(const std::string &base, const std::string &link)
{
    std::string path;
    URLToPathInto(base, link, path);
    return path;
}

void URLToPathInto(const std::string &base, const std::string &link, std::string &out)
{
    // A page's link to one of its own anchors ("#top") has the page's own name
    // as its path part. That name is the page, whatever it holds: a "\" in it
    // is no separator here.
    if (!link.empty() && link == ExtractFileName(base)) {
        out = ExpandFileName(base);
        return;
    }
    // The link is a path part: SplitLink has already taken its "#" part off.
    // A "#" left in it belongs to a name (the page's own, as in "faq#1.html")
    // and must stay.
    const std::string_view folder = ExtractFilePath(base);
    std::string converted;
    std::string_view relative(link);
    if (relative.find('\\') != std::string_view::npos) {
        converted = link;
        BackslashToSlash(converted);
        relative = converted;
    }
    if (joinPlain(folder, relative, out))
        return;
    std::string joined;
    joined.reserve(folder.size() + relative.size());
    joined.append(folder);
    joined.append(relative);
    out = isExpanded(joined) ? std::move(joined) : expandSegments(joined);
}

static int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = asciiUpper(c);
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

static std::string decodeAmpersands(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '&' && SameText(text.substr(i + 1, 4), "amp;"))
            i += 4;
    }
    return out;
}

std::string DecodeLinkEscapes(std::string_view text)
{
    const std::string unescaped = decodeAmpersands(text);
    std::string out;
    out.reserve(unescaped.size());
    for (size_t i = 0; i < unescaped.size(); ++i) {
        int byte = -1;
        if (unescaped[i] == '%' && i + 2 < unescaped.size()) {
            const int high = hexDigit(unescaped[i + 1]);
            const int low = hexDigit(unescaped[i + 2]);
            if (high >= 0 && low >= 0)
                byte = high * 16 + low;
        }
        if (byte < 0 || byte == 0x2F || byte == 0x5C || byte == 0x00) {
            out += unescaped[i];
            continue;
        }
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

} // namespace orvane
