#include "base/longpath.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace orvane {

namespace {

/// Where the first stretch of a long path ends: the last "/" that keeps the
/// stretch below PATH_MAX. Names are at most NAME_MAX bytes, so there is one.
size_t stretchEnd(const std::string &path, size_t from)
{
    const size_t limit = from + PATH_MAX - 1;
    const size_t slash = path.rfind('/', limit);
    return slash == std::string::npos || slash <= from ? std::string::npos : slash;
}

/// Opens the folder that holds the last stretch of path and says where that
/// stretch starts; AT_FDCWD for a path that fits as it is.
int openLeadingFolders(const std::string &path, size_t &rest)
{
    rest = 0;
    int dirFd = AT_FDCWD;
    while (path.size() - rest >= PATH_MAX) {
        const size_t end = stretchEnd(path, rest);
        if (end == std::string::npos) {
            if (dirFd != AT_FDCWD)
                ::close(dirFd);
            errno = ENAMETOOLONG;
            return -1;
        }
        // The root keeps its "/": a stretch of "/" alone names the root.
        const std::string stretch = path.substr(rest, end == 0 ? 1 : end - rest);
        const int next = ::openat(dirFd, stretch.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int error = errno;
        if (dirFd != AT_FDCWD)
            ::close(dirFd);
        if (next < 0) {
            errno = error;
            return -1;
        }
        dirFd = next;
        rest = end + 1;
    }
    return dirFd;
}

/// The last stretch of path; "." when a stretch ended at its closing "/".
const char *lastStretch(const std::string &path, size_t rest)
{
    return rest < path.size() ? path.c_str() + rest : ".";
}

} // namespace

int OpenPath(const std::string &path, int flags, mode_t mode)
{
    size_t rest = 0;
    const int dirFd = openLeadingFolders(path, rest);
    if (dirFd < 0 && dirFd != AT_FDCWD)
        return -1;
    const int fd = ::openat(dirFd, lastStretch(path, rest), flags | O_CLOEXEC, mode);
    const int error = errno;
    if (dirFd != AT_FDCWD)
        ::close(dirFd);
    errno = error;
    return fd;
}

int StatPath(const std::string &path, struct stat &status, bool followLink)
{
    size_t rest = 0;
    const int dirFd = openLeadingFolders(path, rest);
    if (dirFd < 0 && dirFd != AT_FDCWD)
        return -1;
    const int result =
        ::fstatat(dirFd, lastStretch(path, rest), &status, followLink ? 0 : AT_SYMLINK_NOFOLLOW);
    const int error = errno;
    if (dirFd != AT_FDCWD)
        ::close(dirFd);
    errno = error;
    return result;
}

} // namespace orvane
