#include "base/atomicfile.h"

#include "base/errors.h"
#include "base/longpath.h"
#include "base/uniquefd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace orvane {

namespace {

constexpr std::string_view TempPrefix = ".orvane-";
constexpr std::string_view TempSuffix = ".part";
constexpr size_t TempRandomLength = 6;
constexpr std::string_view TempAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A named temporary file is locked a moment after it is made; younger files
// are left to their writer.
constexpr time_t LockGraceSeconds = 2;

[[noreturn]] void fail(const std::string &path, int error)
{
    throw EWriteError(path + ": " + std::strerror(error));
}

[[noreturn]] void failNotRegular(const std::string &path)
{
    throw EWriteError(path + ": not a regular file");
}

std::string randomTempName()
{
    unsigned char bytes[TempRandomLength];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        std::random_device device;
        for (unsigned char &b : bytes)
            b = static_cast<unsigned char>(device());
    }
    std::string name(TempPrefix);
    for (const unsigned char b : bytes)
        name += TempAlphabet[b % TempAlphabet.size()];
    name += TempSuffix;
    return name;
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

/// The file being written. It is locked from before it has a name until it
/// has been renamed, so that a later write in the same folder can tell an
/// abandoned one from one still being written; a name it still has when it
/// goes is removed.
class TempFile
{
public:
    explicit TempFile(int dirFd)
        : m_dirFd(dirFd)
    {
    }
    ~TempFile()
    {
        if (!m_name.empty())
            ::unlinkat(m_dirFd, m_name.c_str(), 0);
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    /// Makes the file: an anonymous one, which nothing outlives, where the
    /// file system has them; a named one otherwise.
    bool create()
    {
        m_fd.reset(::openat(m_dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        if (m_fd.valid())
            return ::flock(m_fd.get(), LOCK_EX) == 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = randomTempName();
            m_fd.reset(::openat(m_dirFd, name.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (m_fd.valid()) {
                m_name = std::move(name);
                return ::flock(m_fd.get(), LOCK_EX) == 0;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    /// Gives an anonymous file its name, ready to be renamed.
    bool name()
    {
        if (!m_name.empty())
            return true;
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = randomTempName();
            if (::linkat(m_fd.get(), "", m_dirFd, name.c_str(), AT_EMPTY_PATH) == 0 ||
                ::linkat(AT_FDCWD, self.c_str(), m_dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_name = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    bool renameOver(const std::string &target)
    {
        if (::renameat(m_dirFd, m_name.c_str(), m_dirFd, target.c_str()) != 0)
            return false;
        m_name.clear();
        return true;
    }

    int fd() const { return m_fd.get(); }

private:
    int m_dirFd;
    UniqueFd m_fd;
    std::string m_name;
};

struct NewFileAttributes
{
    mode_t mode;
    uid_t owner;
    gid_t group;
};

NewFileAttributes attributesOf(const struct stat &old)
{
    return {static_cast<mode_t>(old.st_mode & 07777), old.st_uid, old.st_gid};
}

NewFileAttributes attributesOfNewFile()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return {static_cast<mode_t>(0666 & ~mask), ::geteuid(), ::getegid()};
}

/// Writes contents to a temporary file in dirFd and renames it over name
/// once stillExpected() agrees.
void replaceEntry(int dirFd, const std::string &name, std::string_view contents,
                  const NewFileAttributes &attributes, const std::function<bool()> &stillExpected,
                  const std::string &shownPath)
{
    TempFile temp(dirFd);
    if (!temp.create())
        fail(shownPath, errno);
    // The owner stays too when root writes another user's file; an owner
    // that cannot be kept is no reason to fail.
    if (attributes.owner != ::geteuid() || attributes.group != ::getegid())
        (void)!::fchown(temp.fd(), attributes.owner, attributes.group);
    if (::fchmod(temp.fd(), attributes.mode) != 0 || !writeAll(temp.fd(), contents) ||
        ::fsync(temp.fd()) != 0 || !temp.name())
        fail(shownPath, errno);
    if (!stillExpected())
        failNotRegular(shownPath);
    if (!temp.renameOver(name))
        fail(shownPath, errno);
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Whether the entry is still the regular file expected, or, with no file
/// expected, still missing or a regular file.
bool entryIs(int dirFd, const std::string &name, const struct stat *expected)
{
    struct stat now
    {
    };
    if (::fstatat(dirFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return !expected && errno == ENOENT;
    return S_ISREG(now.st_mode) && (!expected || sameFile(now, *expected));
}

bool abandoned(int dirFd, const char *name)
{
    const UniqueFd fd(
        ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st
    {
    };
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (std::time(nullptr) - st.st_mtime < LockGraceSeconds)
        return false;
    return ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0;
}

} // namespace

void WriteFileAtomically(const std::string &givenPath, std::string_view contents)
{
    // Renaming over a symbolic link would replace the link with a file; the
    // file it points to is the one to replace.
    const std::string path = linkTarget(givenPath);
    const std::string name = nameOf(path);
    const UniqueFd dirFd(OpenPath(folderOf(path), O_RDONLY | O_DIRECTORY));
    if (!dirFd.valid())
        fail(givenPath, errno);
    struct stat old
    {
    };
    if (::fstatat(dirFd.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(old.st_mode))
            failNotRegular(givenPath);
        replaceEntry(
            dirFd.get(), name, contents, attributesOf(old),
            [&] { return entryIs(dirFd.get(), name, &old); }, givenPath);
        return;
    }
    if (errno != ENOENT)
        fail(givenPath, errno);
    replaceEntry(
        dirFd.get(), name, contents, attributesOfNewFile(),
        [&] { return entryIs(dirFd.get(), name, nullptr); }, givenPath);
}

void ReplaceFileAt(int dirFd, const std::string &name, std::string_view contents,
                   const struct stat &expected, const std::string &shownPath)
{
    // The permissions are those of the file now, which may have changed since
    // it was read.
    struct stat now
    {
    };
    if (::fstatat(dirFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(now.st_mode) ||
        !sameFile(now, expected))
        failNotRegular(shownPath);
    replaceEntry(
        dirFd, name, contents, attributesOf(now), [&] { return entryIs(dirFd, name, &expected); },
        shownPath);
}

bool IsTemporaryFileName(std::string_view name)
{
    if (name.size() != TempPrefix.size() + TempRandomLength + TempSuffix.size() ||
        !name.starts_with(TempPrefix) || !name.ends_with(TempSuffix))
        return false;
    const std::string_view random = name.substr(TempPrefix.size(), TempRandomLength);
    return random.find_first_not_of(TempAlphabet) == std::string_view::npos;
}

void RemoveAbandonedTemporaryFiles(int dirFd)
{
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent *entry = ::readdir(dir))
        if (IsTemporaryFileName(entry->d_name))
            names.emplace_back(entry->d_name);
    ::closedir(dir);
    for (const std::string &name : names)
        if (abandoned(dirFd, name.c_str()))
            ::unlinkat(dirFd, name.c_str(), 0);
}

} // namespace orvane
