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

/// A regular file opened for reading, and its size when its entry was
/// looked at.
struct OpenedFile
{
    int fd;
    unsigned long long namedSize;
};

/// Opens a regular file for reading. What the entry names is looked at
/// first (statEntry), so that a device or a FIFO is never even opened;
/// O_NONBLOCK keeps one swapped in meanwhile from holding the program, and
/// the caller looks again.
template<typename Stat, typename Open>
OpenedFile openRegular(const std::string &path, Host &host, Stat &&statEntry, Open &&openEntry)
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
    return {fd, static_cast<unsigned long long>(named.st_size < 0 ? 0 : named.st_size)};
}

/// Paths longer than the system's limit are opened a stretch at a time.
OpenedFile openForReading(const std::string &path, Host &host)
{
    return openRegular(
        path, host, [&](struct stat &named) { return StatPath(path, named, true); },
        [&](int flags) { return OpenPath(path, flags); });
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

/// The size of the file open as fd, which must be a regular file: only such
/// a file has contents of a known size that reading ends.
unsigned long long regularFileSize(int fd, const std::string &path, Host &host)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        readFailed(path, errno);
    if (!S_ISREG(info.st_mode))
        openFailed(path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL, host);
    return static_cast<unsigned long long>(info.st_size < 0 ? 0 : info.st_size);
}

void admitOrDecline(const std::function<bool(unsigned long long)> &admit, unsigned long long size,
                    const std::string &path)
{
    if (admit && !admit(size))
        throw EReadDeclined(path);
}

/// Reads up to size bytes, fewer where the file ends, but not before
/// namedEnd, where it ended when its entry was looked at. A read that stops
/// short just there is taken as the end: a regular file's read stops short
/// only at its end, so no call is spent to hear that nothing follows.
size_t readUpTo(int fd, const std::string &path, char *data, size_t size, size_t namedEnd)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            readFailed(path, errno);
        if (n == 0) {
            // A file that shrank since its size was taken cannot be read whole.
            if (done < namedEnd)
                readFailed(path, EIO);
            break;
        }
        done += static_cast<size_t>(n);
        if (done == namedEnd)
            break;
    }
    return done;
}

void readExactly(int fd, const std::string &path, char *data, size_t size)
{
    readUpTo(fd, path, data, size, size);
}

/// Turns NUL bytes into blanks and refuses text that looks binary.
size_t finishText(std::string &buffer)
{
    // Pages rarely hold a NUL byte: memchr skips the stretches between them.
    char *end = buffer.data() + buffer.size();
    for (char *p = buffer.data(); (p = static_cast<char *>(std::memchr(p, '\0', end - p)));)
        *p++ = ' ';
    if (LooksBinary(buffer))
        throw ENotTextFileError();
    return buffer.size();
}

/// Reads a file opened by openRegular. The size its entry had is taken as
/// the size to read, a byte more asked for: a file as large as that ends
/// with that one read, so the open file is not looked at again. Only a file
/// that grew meanwhile is, and is read on to the size it has now.
size_t readOpened(const OpenedFile &file, const std::string &path, Host &host, std::string &buffer,
                  const std::function<bool(unsigned long long)> &admit)
{
    admitOrDecline(admit, file.namedSize, path);
    allocate(buffer, file.namedSize + 1, host);
    size_t done = readUpTo(file.fd, path, buffer.data(), buffer.size(), file.namedSize);
    if (done > file.namedSize) {
        const unsigned long long size = regularFileSize(file.fd, path, host);
        if (size > file.namedSize)
            admitOrDecline(admit, size, path);
        if (size > done) {
            allocate(buffer, size, host);
            readExactly(file.fd, path, buffer.data() + done, buffer.size() - done);
        }
        // One that says it is smaller than what it gave, as the files of
        // /proc do, is cut to the size it says, as it always was.
        done = static_cast<size_t>(size);
    }
    buffer.resize(done);
    return finishText(buffer);
}

} // namespace

size_t ReadOpenFileAll(int fd, const std::string &path, Host &host, std::string &buffer,
                       const std::function<bool(unsigned long long)> &admit)
{
    const unsigned long long size = regularFileSize(fd, path, host);
    admitOrDecline(admit, size, path);
    allocate(buffer, size, host);
    readExactly(fd, path, buffer.data(), buffer.size());
    return finishText(buffer);
}

size_t ReadFileAllAt(int folderFd, const std::string &name, const std::string &path, Host &host,
                     std::string &buffer, const std::function<bool(unsigned long long)> &admit)
{
    const OpenedFile opened = openRegular(
        path, host,
        [&](struct stat &named) { return ::fstatat(folderFd, name.c_str(), &named, 0); },
        [&](int flags) { return ::openat(folderFd, name.c_str(), flags); });
    const FileHandle file(opened.fd);
    return readOpened(opened, path, host, buffer, admit);
}

size_t ReadFileAllInto(const std::string &path, Host &host, std::string &buffer,
                       const std::function<bool(unsigned long long)> &admit)
{
    const OpenedFile opened = openForReading(path, host);
    const FileHandle file(opened.fd);
    return readOpened(opened, path, host, buffer, admit);
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
