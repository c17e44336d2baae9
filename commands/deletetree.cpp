#include "commands/deletetree.h"

#include "base/mounts.h"
#include "base/uniquefd.h"
#include "base/usertext.h"
#include "commands/sitepath.h"

#include <cerrno>
#include <climits>
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

bool sameEntry(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// The names of the open folder's entries but "." and "..". The whole
/// listing is taken before anything is removed, so removing cannot disturb it.
bool listNames(int fd, std::vector<std::string> &names)
{
    const int listFd = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

/// The path of an open folder as the system names it now; empty when it
/// cannot tell (or the path is too long to be told).
std::string currentPathOf(int fd)
{
    char buffer[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer || buffer[0] != '/')
        return {};
    return std::string(buffer, static_cast<size_t>(n));
}

/// One folder on the way down: the names still to delete and what is needed
/// to come back to it and to leave it as it was if it stays.
struct Level
{
    std::string name; // in the folder above
    struct stat status;
    std::vector<std::string> names;
    size_t next = 0;
    bool madeWritable = false;
    bool failed = false;
};

/// Deletes a folder tree holding one folder open at a time: it goes down by
/// name relative to the folder it is in, and back up by "..", checking that
/// ".." is the folder it came from; a tree moved meanwhile ends the walk.
class TreeDeleter
{
public:
    TreeDeleter(const MountIdentity &mount, bool clearReadOnly)
        : m_mount(mount)
        , m_clearReadOnly(clearReadOnly)
    {
    }

    /// Deletes the folder name of the open folder parentFd, seen as seen.
    bool deleteFolder(int parentFd, const std::string &name, const struct stat &seen)
    {
        UniqueFd fd = openFolder(parentFd, name, seen);
        if (!fd.valid())
            return false;
        std::vector<Level> stack;
        stack.push_back(enter(fd.get(), name, seen));
        while (true) {
            Level &top = stack.back();
            if (top.next < top.names.size()) {
                const std::string entry = top.names[top.next++];
                if (UniqueFd child = deleteEntry(fd.get(), entry, top); child.valid()) {
                    struct stat status
                    {
                    };
                    ::fstat(child.get(), &status);
                    Level level = enter(child.get(), entry, status);
                    fd = std::move(child);
                    stack.push_back(std::move(level));
                }
                continue;
            }
            leave(fd.get(), top);
            if (stack.size() == 1)
                break;
            UniqueFd up(::openat(fd.get(), "..", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            struct stat status
            {
            };
            if (!up.valid() || ::fstat(up.get(), &status) != 0 ||
                !sameEntry(status, stack[stack.size() - 2].status))
                return false;
            fd = std::move(up);
            const Level done = std::move(stack.back());
            stack.pop_back();
            if (done.failed || !removeFolder(fd.get(), done.name))
                stack.back().failed = true;
        }
        const bool failed = stack.front().failed;
        fd.reset();
        return !failed && removeFolder(parentFd, name);
    }

private:
    /// Opens a folder to delete: only the folder seen, never through a link,
    /// never on another mount.
    UniqueFd openFolder(int parentFd, const std::string &name, const struct stat &seen) const
    {
        MountIdentity mount;
        if (!MountIdentityOf(parentFd, name, mount) || !(mount == m_mount))
            return {};
        UniqueFd fd(
            ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat now
        {
        };
        if (!fd.valid() || ::fstat(fd.get(), &now) != 0 || !sameEntry(now, seen))
            return {};
        return fd;
    }

    /// The level of a folder just opened: its entries, and the owner's write
    /// permission where the deletion needs it.
    Level enter(int fd, const std::string &name, const struct stat &status) const
    {
        Level level{name, status, {}, 0, false, false};
        if (isReadOnly(status)) {
            if (m_clearReadOnly && ::fchmod(fd, (status.st_mode & 07777) | S_IWUSR) == 0)
                level.madeWritable = true;
            else
                level.failed = true; // it stays; what is in it may still go
        }
        if (!listNames(fd, level.names))
            level.failed = true;
        return level;
    }

    /// A folder that stays gets its permissions back.
    static void leave(int fd, const Level &level)
    {
        if (level.failed && level.madeWritable)
            ::fchmod(fd, level.status.st_mode & 07777);
    }

    /// Deletes an entry that is no folder; a folder is opened and returned,
    /// to be entered. A failure marks the level.
    UniqueFd deleteEntry(int fd, const std::string &name, Level &level) const
    {
        struct stat st
        {
        };
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                level.failed = true;
            return {};
        }
        if (S_ISDIR(st.st_mode)) {
            UniqueFd child = openFolder(fd, name, st);
            if (!child.valid())
                level.failed = true;
            return child;
        }
        if (!S_ISLNK(st.st_mode) && isReadOnly(st) && !m_clearReadOnly)
            level.failed = true;
        else if (::unlinkat(fd, name.c_str(), 0) != 0 && errno != ENOENT)
            level.failed = true;
        return {};
    }

    static bool removeFolder(int parentFd, const std::string &name)
    {
        return ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT;
    }

    MountIdentity m_mount;
    bool m_clearReadOnly;
};

DeleteResult refused(DeleteOutcome outcome, std::string where)
{
    return {outcome, std::move(where)};
}

DeleteResult refusalOf(const SiteEntry &entry)
{
    switch (entry.refusal) {
    case SitePathRefusal::notInSite:
        return refused(DeleteOutcome::notInSite, entry.where);
    case SitePathRefusal::throughLink:
        return refused(DeleteOutcome::throughLink, entry.where);
    case SitePathRefusal::otherFileSystem:
        return refused(DeleteOutcome::otherFileSystem, entry.where);
    default:
        return {};
    }
}

DeleteResult outcome(bool deleted)
{
    return {deleted ? DeleteOutcome::deleted : DeleteOutcome::failed, {}};
}

/// Deletes the folder name of the open folder entry.folder, refusing it when
/// it, or anything mounted below it, lies on another mount.
DeleteResult deleteFolderEntry(const SiteEntry &entry, const std::string &path,
                               const struct stat &seen, bool clearReadOnly)
{
    MountIdentity mount;
    if (!MountIdentityOf(entry.folder.get(), entry.name, mount))
        return {};
    if (!(mount == entry.home))
        return refused(DeleteOutcome::otherFileSystem, path);
    const UniqueFd fd(::openat(entry.folder.get(), entry.name.c_str(),
                               O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return {};
    // A mount below is refused before anything goes; the walk itself never
    // enters one either, should one appear meanwhile.
    const std::string current = currentPathOf(fd.get());
    if (!current.empty())
        for (const std::string &point : MountPointsBelow(current))
            return refused(DeleteOutcome::mountInside, point);
    return outcome(
        TreeDeleter(entry.home, clearReadOnly).deleteFolder(entry.folder.get(), entry.name, seen));
}

} // namespace

DeleteResult DeleteFolderTree(const std::string &homeDir, const std::string &path,
                              bool clearReadOnly)
{
    const SiteEntry entry = OpenSiteEntry(homeDir, path);
    if (entry.refusal != SitePathRefusal::none)
        return refusalOf(entry);
    struct stat st
    {
    };
    if (::fstatat(entry.folder.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    // A link to a folder given as the folder goes as a link; what it points
    // to is not part of the site.
    if (S_ISLNK(st.st_mode)) {
        struct stat target
        {
        };
        return outcome(::fstatat(entry.folder.get(), entry.name.c_str(), &target, 0) == 0 &&
                       S_ISDIR(target.st_mode) &&
                       ::unlinkat(entry.folder.get(), entry.name.c_str(), 0) == 0);
    }
    if (!S_ISDIR(st.st_mode))
        return {};
    return deleteFolderEntry(entry, path, st, clearReadOnly);
}

DeleteResult DeleteSiteFile(const std::string &homeDir, const std::string &path)
{
    const SiteEntry entry = OpenSiteEntry(homeDir, path);
    if (entry.refusal != SitePathRefusal::none)
        return refusalOf(entry);
    return outcome(::unlinkat(entry.folder.get(), entry.name.c_str(), 0) == 0);
}

std::string DeleteRefusalText(const DeleteResult &result, const std::string &path)
{
    switch (result.outcome) {
    case DeleteOutcome::deleted:
    case DeleteOutcome::failed:
        return {};
    case DeleteOutcome::notInSite:
        return Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nはホームフォルダの中にないため削除しません"),
                  {path});
    case DeleteOutcome::throughLink:
        return Tr(
            QT_TRANSLATE_NOOP("Orvane", "%1\r\nはシンボリックリンク %2 を通るため削除しません"),
            {path, result.where});
    case DeleteOutcome::otherFileSystem:
        return Tr(
            QT_TRANSLATE_NOOP("Orvane", "%1\r\nは別のファイルシステム (%2) にあるため削除しません"),
            {path, result.where});
    case DeleteOutcome::mountInside:
        return Tr(QT_TRANSLATE_NOOP(
                      "Orvane",
                      "%1\r\nの中に別のファイルシステムがマウントされているため削除しません\r\n%2"),
                  {path, result.where});
    }
    return {};
}

} // namespace orvane
