#include "engine/fileurl.h"

#include "base/strutil.h"

namespace orvane {

std::optional<std::string> FileUrlToPath(const std::string &url)
{
    if (!StartsWithText(url, "file://"))
        return std::nullopt;
    std::string path = url.substr(7);
    for (char &c : path) {
        if (c == '|')
            c = ':';
        else if (c == '\\')
            c = '/';
    }
    size_t slashes = 0;
    while (slashes < path.size() && path[slashes] == '/')
        ++slashes;
    path.erase(0, slashes);
    switch (slashes) {
    case 0:
    case 2:
        return "//" + path;
    case 1:
        return "/" + path;
    default:
        return std::nullopt;
    }
}

} // namespace orvane
