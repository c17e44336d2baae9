#include "base/atomicfile.h"

#include "base/errors.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view contents)
{
    const char *p = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

/// The file a path names: a symbolic link resolved to the file it leads to;
/// any other path, or a link that leads nowhere, as it is.
std::string linkTarget(const std::string &path)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

[[noreturn]] void fail(const std::string &path, int error)
{
    throw EWriteError(path + ": " + std::strerror(error));
}

} // namespace

void WriteFileAtomically(const std::string &givenPath, std::string_view contents)
{
    // Renaming over a symbolic link would replace the link with a file; the
    // file it points to is the one to replace.
    const std::string path = linkTarget(givenPath);
    std::string temp = folderOf(path) + "/.orvane-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        fail(givenPath, errno);

    struct stat old
    {
    };
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
        // The owner stays too when root writes another user's file; an owner
        // that cannot be kept is no reason to fail.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)!::fchown(fd, old.st_uid, old.st_gid);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, contents) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        fail(givenPath, error);
    }
}

} // namespace orvane
