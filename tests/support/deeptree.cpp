#include "support/deeptree.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace orvane::test {

std::string MakeDeepFolders(const std::string &folder, const std::string &name, int depth,
                            const std::function<void(int fd, int level)> &each)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    for (int level = 1; fd >= 0 && level <= depth; ++level) {
        if (::mkdirat(fd, name.c_str(), 0755) != 0) {
            ::close(fd);
            throw std::runtime_error("cannot make a deep folder");
        }
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        path += name + "/";
        if (fd >= 0 && each)
            each(fd, level);
    }
    if (fd < 0)
        throw std::runtime_error("cannot open a deep folder");
    ::close(fd);
    return path;
}

void WriteFileAt(int fd, const std::string &name, const std::string &contents)
{
    const int file = ::openat(fd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0 ||
        ::write(file, contents.data(), contents.size()) != static_cast<ssize_t>(contents.size())) {
        if (file >= 0)
            ::close(file);
        throw std::runtime_error("cannot write " + name);
    }
    ::close(file);
}

long OpenFileLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    return static_cast<long>(limit.rlim_cur);
}

bool SetOpenFileLimit(long value)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    limit.rlim_cur = static_cast<rlim_t>(value);
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

} // namespace orvane::test
