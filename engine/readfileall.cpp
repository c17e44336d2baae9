#include "engine/readfileall.h"

#include "base/host.h"
#include "base/longpath.h"
#include "base/usertext.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

class FileHandle
{
public:
    explicit FileHandle(int fd)
        : m_fd(fd)
    {
    }
    ~FileHandle() { ::close(m_fd); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

/// Whether path is a symbolic link that leads nowhere (or round in a circle).
bool isDanglingLink(const std::string &path, int error)
{
    struct stat info
    {
    };
    return (error == ENOENT || error == ELOOP) && ::lstat(path.c_str(), &info) == 0 &&
           S_ISLNK(info.st_mode);
}

[[noreturn]] void openFailed(const std::string &path, int error, Host &host)
{
    // A link whose target went away is a fault of the site, not of reading:
    // it is named for what it is, as a warning.
    if (isDanglingLink(path, error))
        host.warning(Tr(
            QT_TRANSLATE_NOOP("Orvane", "シンボリックリンクのリンク先がありません\r\n%1"), {path}));
    else
        host.error(Tr(QT_TRANSLATE_NOOP("Orvane", "ファイルをオープンできません\r\n%1"), {path}));
    throw EOpenFailure(path + ": " + std::strerror(error));
}

[[noreturn]] void readFailed(const std::string &path, int error)
{
    throw EReadFailure(path + ": " + std::strerror(error));
}

/// Opens a regular file for reading. What the entry names is looked at
/// first (statEntry), so that a device or a FIFO is never even opened;
/// O_NONBLOCK keeps one swapped in meanwhile from holding the program, and
/// the caller looks again.
template<typename Stat, typename Open>
int openRegular(const std::string &path, Host &host, Stat &&statEntry, Open &&openEntry)
{
    struct stat named
    {
    };
    if (statEntry(named) != 0)
        openFailed(path, errno, host);
    if (!S_ISREG(named.st_mode))
        openFailed(path, S_ISDIR(named.st_mode) ? EISDIR : EINVAL, host);
    const int fd = openEntry(O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        openFailed(path, errno, host);
    return fd;
}

/// Paths longer than the system's limit are opened a stretch at a time.
int openForReading(const std::string &path, Host &host)
{
    return openRegular(
        path, host, [&](struct stat &named) { return StatPath(path, named, true); },
        [&](int flags) { return OpenPath(path, flags); });
}

void readExactly(int fd, const std::string &path, char *data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            readFailed(path, errno);
        // A file that shrank since its size was taken cannot be read whole.
        if (n == 0)
            readFailed(path, EIO);
        done += static_cast<size_t>(n);
    }
}

[[noreturn]] void outOfMemory(Host &host)
{
    const std::string text = Tr(QT_TRANSLATE_NOOP("Orvane", "メモリーを確保できません"));
    host.error(text);
    throw EOutOfMemory(text);
}

void allocate(std::string &buffer, unsigned long long size, Host &host)
{
    if (size > buffer.max_size())
        outOfMemory(host);
    try {
        buffer.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc &) {
        outOfMemory(host);
    } catch (const std::length_error &) {
        outOfMemory(host);
    }
}

} // namespace

size_t ReadOpenFileAll(int fd, const std::string &path, Host &host, std::string &buffer,
                       const std::function<bool(unsigned long long)> &admit)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        readFailed(path, errno);
    // Only a regular file has contents of a known size that reading ends.
    if (!S_ISREG(info.st_mode))
        openFailed(path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL, host);
    const auto size = static_cast<unsigned long long>(info.st_size < 0 ? 0 : info.st_size);
    if (admit && !admit(size))
        throw EReadDeclined(path);
    allocate(buffer, size, host);
    readExactly(fd, path, buffer.data(), buffer.size());
    // Pages rarely hold a NUL byte: memchr skips the stretches between them.
    char *end = buffer.data() + buffer.size();
    for (char *p = buffer.data(); (p = static_cast<char *>(std::memchr(p, '\0', end - p)));)
        *p++ = ' ';
    if (LooksBinary(buffer))
        throw ENotTextFileError();
    return buffer.size();
}

size_t ReadFileAllAt(int folderFd, const std::string &name, const std::string &path, Host &host,
                     std::string &buffer, const std::function<bool(unsigned long long)> &admit)
{
    const FileHandle file(openRegular(
        path, host,
        [&](struct stat &named) { return ::fstatat(folderFd, name.c_str(), &named, 0); },
        [&](int flags) { return ::openat(folderFd, name.c_str(), flags); }));
    return ReadOpenFileAll(file.fd(), path, host, buffer, admit);
}

size_t ReadFileAllInto(const std::string &path, Host &host, std::string &buffer,
                       const std::function<bool(unsigned long long)> &admit)
{
    const FileHandle file(openForReading(path, host));
    return ReadOpenFileAll(file.fd(), path, host, buffer, admit);
}

std::string ReadFileAll(const std::string &path, Host &host)
{
    std::string text;
    ReadFileAllInto(path, host, text);
    return text;
}

bool LooksBinary(const std::string &text)
{
    const size_t n = std::min<size_t>(text.size(), 200);
    size_t count = 0;
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c >= 0x01 && c <= 0x08) || (c >= 0x10 && c <= 0x1F))
            ++count;
    }
    return count > n / 10;
}

} // namespace orvane
