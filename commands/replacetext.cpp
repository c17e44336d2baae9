#include "commands/replacetext.h"

#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/host.h"
#include "base/replaceall.h"
#include "base/strutil.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/readfileall.h"
#include "engine/site.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

/// The file a page path stands for: a link is followed, so the page is
/// rewritten where it lives and the link stays a link.
std::string resolvedPath(const std::string &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

} // namespace

ReplaceTexts ReplaceTextsFor(const std::string &fullPath, const std::string &clickedLink)
{
    return {std::string(ExtractFileName(fullPath)), clickedLink, clickedLink};
}

bool IsReadOnlyFile(const std::string &path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return true;
    return ::access(path.c_str(), W_OK) != 0 || (st.st_mode & S_IWUSR) == 0;
}

bool ReplaceInFile(const std::string &path, const std::string &before, const std::string &after,
                   Host &host)
{
    const std::string content = ReplaceAll(ReadFileAll(path, host), before, after);
    const std::string target = resolvedPath(path);
    // Renaming over a file needs only the folder's permission, so a read-only
    // page has to be refused here to stay untouched.
    bool written = !IsReadOnlyFile(target);
    if (written) {
        try {
            WriteFileAtomically(target, content);
        } catch (const EWriteError &) {
            written = false;
        }
    }
    if (!written) {
        host.warning(ReplaceWriteFailedMessage);
        return false;
    }
    host.beep(Sound::Asterisk);
    host.information(ReplaceDoneMessage);
    return true;
}

void replaceClick(Site &site, const std::string &clickedLink, ReplacePrompt &dialog)
{
    const TreeNode *node = site.tree.Selected();
    if (!node || !node->Data())
        return;
    const std::string fullPath = node->Data()->FullPath;
    ReplaceTexts texts = ReplaceTextsFor(fullPath, clickedLink);
    if (!dialog.execute(texts))
        return;
    ReplaceInFile(fullPath, texts.before, texts.after, site.host());
}

} // namespace orvane
