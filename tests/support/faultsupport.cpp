#include "support/faultsupport.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace orvane::test {

ScopedLimit::ScopedLimit(int resource, rlim_t limit)
    : m_resource(resource)
{
    if (resource == RLIMIT_FSIZE)
        std::signal(SIGXFSZ, SIG_IGN);
    if (::getrlimit(resource, &m_saved) != 0)
        return;
    rlimit lowered = m_saved;
    lowered.rlim_cur = limit;
    if (m_saved.rlim_max != RLIM_INFINITY && m_saved.rlim_max < limit)
        lowered.rlim_cur = m_saved.rlim_max;
    m_active = ::setrlimit(resource, &lowered) == 0;
}

ScopedLimit::~ScopedLimit()
{
    if (m_active)
        ::setrlimit(m_resource, &m_saved);
}

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

ScopedMemoryTemp::ScopedMemoryTemp()
{
    if (const char *old = std::getenv("TMPDIR")) {
        m_hadValue = true;
        m_saved = old;
    }
    if (::access("/dev/shm", W_OK) == 0)
        ::setenv("TMPDIR", "/dev/shm", 1);
}

ScopedMemoryTemp::~ScopedMemoryTemp()
{
    if (m_hadValue)
        ::setenv("TMPDIR", m_saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

bool MakeSparseFile(const std::string &path, unsigned long long size, std::string_view head,
                    std::string_view tail)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const auto end = static_cast<off_t>(size);
    bool ok = ::ftruncate(fd, end) == 0;
    ok = ok && ::pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size());
    ok = ok && ::pwrite(fd, tail.data(), tail.size(), end - static_cast<off_t>(tail.size())) ==
                   static_cast<ssize_t>(tail.size());
    ::close(fd);
    return ok;
}

std::vector<std::string> FolderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace orvane::test
