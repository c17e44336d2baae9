#include "commands/deletetree.h"

#include "base/urlpath.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace orvane {

namespace {

// "Read-only" is the owner's missing write permission. It is read from the
// mode bits, not asked of the kernel, so the rule is the same for every user,
// root included.
bool isReadOnly(const struct stat &st)
{
    return (st.st_mode & S_IWUSR) == 0;
}

class FolderDeleter
{
public:
    explicit FolderDeleter(bool clearReadOnly)
        : m_clearReadOnly(clearReadOnly)
    {
    }

    /// Removes the entry name of the open folder parentFd; a folder with all
    /// its contents. An entry that has vanished meanwhile counts as deleted.
    bool deleteEntry(int parentFd, const std::string &name)
    {
        struct stat st
        {
        };
        if (::fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return errno == ENOENT;
        if (S_ISDIR(st.st_mode))
            return deleteFolder(parentFd, name, st);
        if (!S_ISLNK(st.st_mode) && isReadOnly(st)) {
            if (!m_clearReadOnly)
                return false;
            // Removing a name needs no write permission on the file itself, so
            // a failure to change the mode does not stop the deletion. The
            // flag keeps a link swapped in meanwhile from being followed.
            ::fchmodat(parentFd, name.c_str(), (st.st_mode & 07777) | S_IWUSR, AT_SYMLINK_NOFOLLOW);
        }
        return ::unlinkat(parentFd, name.c_str(), 0) == 0 || errno == ENOENT;
    }

    bool deleteFolder(int parentFd, const std::string &name, const struct stat &seen)
    {
        // O_NOFOLLOW: a folder replaced by a link since it was seen is not
        // entered, so the walk never leaves the tree it was given.
        const int fd =
            ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return false;
        struct stat st
        {
        };
        if (::fstat(fd, &st) != 0 || st.st_dev != seen.st_dev || st.st_ino != seen.st_ino) {
            ::close(fd);
            return false;
        }
        bool readOnly = isReadOnly(st);
        if (readOnly && m_clearReadOnly && ::fchmod(fd, (st.st_mode & 07777) | S_IWUSR) == 0)
            readOnly = false;
        const bool emptied = deleteContents(fd);
        ::close(fd);
        if (!emptied || readOnly)
            return false;
        return ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT;
    }

private:
    /// Deletes every entry of the open folder fd; true when all went.
    bool deleteContents(int fd)
    {
        std::vector<std::string> names;
        if (!listNames(fd, names))
            return false;
        bool all = true;
        for (const std::string &name : names) {
            if (!deleteEntry(fd, name))
                all = false;
        }
        return all;
    }

    /// The names of the folder's entries but "." and "..". The whole listing
    /// is taken before anything is removed, so removing cannot disturb it.
    static bool listNames(int fd, std::vector<std::string> &names)
    {
        const int listFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (listFd < 0)
            return false;
        DIR *dir = ::fdopendir(listFd);
        if (!dir) {
            ::close(listFd);
            return false;
        }
        errno = 0;
        while (const dirent *entry = ::readdir(dir)) {
            const std::string name(entry->d_name);
            if (name != "." && name != "..")
                names.push_back(name);
            errno = 0;
        }
        const bool complete = errno == 0;
        ::closedir(dir);
        return complete;
    }

    bool m_clearReadOnly;
};

} // namespace

bool DeleteFolderTree(const std::string &path, bool clearReadOnly)
{
    if (path.empty())
        return false;
    std::string full = ExpandFileName(path);
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    const size_t slash = full.rfind('/');
    if (full == "/" || slash == std::string::npos)
        return false;
    const std::string parent = slash == 0 ? "/" : full.substr(0, slash);
    const std::string name = full.substr(slash + 1);

    const int parentFd = ::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return false;
    FolderDeleter deleter(clearReadOnly);
    bool gone = false;
    struct stat st
    {
    };
    if (::fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        // A link to a folder given as the folder goes as a link; what it
        // points to is not part of the folder.
        struct stat target
        {
        };
        if (S_ISLNK(st.st_mode))
            gone = ::fstatat(parentFd, name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode) &&
                   ::unlinkat(parentFd, name.c_str(), 0) == 0;
        else if (S_ISDIR(st.st_mode))
            gone = deleter.deleteFolder(parentFd, name, st);
    }
    ::close(parentFd);
    return gone;
}

} // namespace orvane
