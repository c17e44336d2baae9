#include "commands/sitepath.h"

#include "base/longpath.h"
#include "base/mounts.h"
#include "base/urlpath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include <vector>

namespace orvane {

namespace {

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

/// The names of path below home, or none when it does not lie below it.
std::optional<std::vector<std::string>> namesBelow(const std::string &home, const std::string &path)
{
    const std::string top = withoutTrailingSlashes(ExpandFileName(home));
    const std::string full = withoutTrailingSlashes(ExpandFileName(path));
    const std::string prefix = top == "/" ? top : top + "/";
    if (full.size() <= prefix.size() || full.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    std::vector<std::string> names;
    for (size_t start = prefix.size(); start <= full.size();) {
        const size_t slash = full.find('/', start);
        const size_t end = slash == std::string::npos ? full.size() : slash;
        names.push_back(full.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

SitePathRefusal refusalForFailedOpen(int dirFd, const std::string &name)
{
    struct stat st
    {
    };
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        return SitePathRefusal::throughLink;
    return SitePathRefusal::missing;
}

} // namespace

bool MountIdentityOf(int dirFd, const std::string &name, MountIdentity &identity)
{
    struct stat st
    {
    };
    const int flags = AT_SYMLINK_NOFOLLOW | (name.empty() ? AT_EMPTY_PATH : 0);
    if (::fstatat(dirFd, name.c_str(), &st, flags) != 0)
        return false;
    identity.device = st.st_dev;
    identity.mount = MountIdOf(dirFd, name);
    return true;
}

SiteEntry OpenSiteEntry(const std::string &homeDir, const std::string &path)
{
    SiteEntry entry;
    const auto names = namesBelow(homeDir, path);
    if (!names) {
        entry.refusal = SitePathRefusal::notInSite;
        entry.where = path;
        return entry;
    }
    entry.where = withoutTrailingSlashes(ExpandFileName(homeDir));
    entry.folder.reset(OpenPath(entry.where, O_PATH | O_DIRECTORY));
    if (!entry.folder.valid() || !MountIdentityOf(entry.folder.get(), {}, entry.home)) {
        entry.refusal = SitePathRefusal::missing;
        return entry;
    }
    for (size_t i = 0; i + 1 < names->size(); ++i) {
        const std::string &name = (*names)[i];
        entry.where += "/" + name;
        UniqueFd next(::openat(entry.folder.get(), name.c_str(),
                               O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid()) {
            entry.refusal = refusalForFailedOpen(entry.folder.get(), name);
            return entry;
        }
        MountIdentity mount;
        if (!MountIdentityOf(next.get(), {}, mount) || !(mount == entry.home)) {
            entry.refusal = SitePathRefusal::otherFileSystem;
            return entry;
        }
        entry.folder = std::move(next);
    }
    entry.name = names->back();
    entry.where.clear();
    return entry;
}

} // namespace orvane
