// The benchmarks' floor: reads every regular file under a folder once, in one
// process and one thread, into one buffer, and prints the number of bytes.
// A pipeline such as `find | xargs cat` measures the same reads, but also the
// switches between its processes, which cost more than the reads themselves
// on some virtual machines.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

char buffer[1 << 17];

unsigned long long readFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return 0;
    unsigned long long total = 0;
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        total += static_cast<unsigned long long>(n);
    }
    ::close(fd);
    return total;
}

// For file systems that leave the type out of their listings.
unsigned char typeOf(const std::string &path)
{
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) != 0)
        return DT_UNKNOWN;
    return S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
}

unsigned long long readFolder(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir) {
        std::fprintf(stderr, "orvane-readfloor: %s: %s\n", folder.c_str(), std::strerror(errno));
        return 0;
    }
    unsigned long long total = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        const std::string path = folder + '/' + name;
        const unsigned char type = entry->d_type != DT_UNKNOWN ? entry->d_type : typeOf(path);
        if (type == DT_DIR)
            total += readFolder(path);
        else if (type == DT_REG)
            total += readFile(path);
    }
    ::closedir(dir);
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-readfloor FOLDER\n");
        return 2;
    }
    std::printf("%llu\n", readFolder(argv[1]));
    return 0;
}
