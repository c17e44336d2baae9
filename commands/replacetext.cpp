#include "commands/replacetext.h"

#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/host.h"
#include "base/replaceall.h"
#include "base/strutil.h"
#include "base/uniquefd.h"
#include "commands/sitepath.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/linkhints.h"
#include "engine/readfileall.h"
#include "engine/site.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

bool warnNotWritten(Host &host)
{
    host.warning(Tr(ReplaceWriteFailedMessage));
    return false;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Renaming over a file needs only the folder's permission, so a read-only
/// page has to be refused here to stay untouched: the kernel refuses the
/// current user write access, or the file lacks its owner's write permission
/// (which counts for every user, root included).
bool isReadOnly(int folderFd, const std::string &name, const struct stat &st)
{
    return (st.st_mode & S_IWUSR) == 0 ||
           ::faccessat(folderFd, name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0;
}

/// The page, opened for reading as the regular file seen, never through a
/// link; invalid when it is no longer that file.
UniqueFd openPage(const SiteEntry &entry, const struct stat &seen, struct stat &opened)
{
    UniqueFd fd(::openat(entry.folder.get(), entry.name.c_str(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        !sameFile(opened, seen))
        return {};
    return fd;
}

} // namespace

ReplaceTexts ReplaceTextsFor(const std::string &fullPath, const std::string &clickedLink)
{
    return {std::string(ExtractFileName(fullPath)), clickedLink, clickedLink};
}

bool ReplaceInFile(const std::string &homeDir, const std::string &path, const std::string &before,
                   const std::string &after, Host &host)
{
    const SiteEntry entry = OpenSiteEntry(homeDir, path);
    struct stat seen
    {
    };
    if (entry.refusal == SitePathRefusal::missing ||
        (entry.refusal == SitePathRefusal::none &&
         (::fstatat(entry.folder.get(), entry.name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
          S_ISDIR(seen.st_mode)))) {
        // A page that cannot be opened at all is reported as reading reports it.
        ReadFileAll(path, host);
        return warnNotWritten(host);
    }
    if (entry.refusal != SitePathRefusal::none || !S_ISREG(seen.st_mode))
        return warnNotWritten(host);
    struct stat opened
    {
    };
    const UniqueFd page = openPage(entry, seen, opened);
    if (!page.valid())
        return warnNotWritten(host);
    std::string content;
    ReadOpenFileAll(page.get(), path, host, content);
    content = ReplaceAll(content, before, after);
    if (isReadOnly(entry.folder.get(), entry.name, opened))
        return warnNotWritten(host);
    RemoveAbandonedTemporaryFiles(entry.folder.get());
    try {
        ReplaceFileAt(entry.folder.get(), entry.name, content, opened, path);
    } catch (const EWriteError &) {
        return warnNotWritten(host);
    }
    host.beep(Sound::Asterisk);
    host.information(Tr(ReplaceDoneMessage));
    return true;
}

void replaceClick(Site &site, const std::string &clickedLink, ReplacePrompt &dialog)
{
    const TreeNode *node = site.tree.Selected();
    if (!node || !node->Data())
        return;
    const std::string fullPath = node->Data()->FullPath;
    ReplaceTexts texts = ReplaceTextsFor(fullPath, clickedLink);
    // A link with a hint starts with what it probably meant; the user still
    // confirms it.
    if (auto hint = site.Hints().ForLink(*node->Data(), clickedLink))
        texts.after = std::move(hint->link);
    if (!dialog.execute(texts))
        return;
    ReplaceInFile(site.tree.Root()->Text(), fullPath, texts.before, texts.after, site.host());
}

} // namespace orvane
