#include "base/inputfile.h"

#include "base/usertext.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace orvane {

namespace {

// /dev/null on Linux: character device 1, 3.
bool isNullDevice(const struct stat &st)
{
    return S_ISCHR(st.st_mode) && ::major(st.st_rdev) == 1 && ::minor(st.st_rdev) == 3;
}

InputFileKind kindOf(const struct stat &st)
{
    if (S_ISREG(st.st_mode))
        return InputFileKind::regular;
    return isNullDevice(st) ? InputFileKind::nullDevice : InputFileKind::other;
}

/// Reads up to size bytes; a file that grew meanwhile is read as it was when
/// it was looked at, one that shrank as far as it goes.
bool readUpTo(int fd, size_t size, std::string &text)
{
    try {
        text.resize(size);
    } catch (const std::exception &) {
        return false;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, text.data() + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    text.resize(done);
    return true;
}

} // namespace

InputFileKind InputFileKindOf(const std::string &path)
{
    struct stat st
    {
    };
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return InputFileKind::missing;
    return kindOf(st);
}

InputRead ReadInputFile(const std::string &path, std::string &text)
{
    text.clear();
    // Looked at first, so that a device is never even opened; what is opened
    // is looked at again, in case the name changed hands meanwhile.
    struct stat named
    {
    };
    if (::stat(path.c_str(), &named) != 0)
        return errno == ENOENT || errno == ENOTDIR ? InputRead::missing : InputRead::failed;
    if (kindOf(named) == InputFileKind::other)
        return InputRead::notRegular;
    // O_NONBLOCK: opening a FIFO for reading must not wait for a writer;
    // O_NOCTTY: a terminal named here must not become ours.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? InputRead::missing : InputRead::failed;
    struct stat st
    {
    };
    InputRead result = InputRead::failed;
    if (::fstat(fd, &st) == 0) {
        switch (kindOf(st)) {
        case InputFileKind::regular:
            if (readUpTo(fd, static_cast<size_t>(st.st_size), text))
                result = InputRead::read;
            else
                text.clear();
            break;
        case InputFileKind::nullDevice:
            result = InputRead::read;
            break;
        default:
            result = InputRead::notRegular;
            break;
        }
    }
    ::close(fd);
    return result;
}

std::string NotRegularFileMessage(const std::string &path)
{
    return Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nは通常のファイルではありません"), {path});
}

} // namespace orvane
