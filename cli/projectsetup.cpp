#include "cli/projectsetup.h"

#include "base/strutil.h"
#include "base/urlpath.h"
#include "cli/options.h"
#include "engine/checkrun.h"
#include "project/project.h"
#include "settings/settings.h"

namespace orvane::cli {

std::string PathFromHome(const std::string &home, const std::string &path)
{
    if (StartsWith(path, "/"))
        return ExpandFileName(path);
    return ExpandFileName(IncludeTrailingDelimiter(home) + path);
}

void AddCommandLineItems(Project &project, const CheckOptions &options, const std::string &home,
                         bool plainFolder, const Settings &settings)
{
    for (const std::string &top : options.topFiles)
        project.AddTopFile(PathFromHome(home, top));
    if (plainFolder && options.topFiles.empty() && !settings.DefaultFileName.empty()) {
        const std::string defaultPage = PathFromHome(home, settings.DefaultFileName);
        if (FileExists(defaultPage))
            project.AddTopFile(defaultPage);
    }
    for (const std::string &file : options.excludeFiles)
        project.AddIgnoreFile(PathFromHome(home, file));
    for (const std::string &pattern : options.wildCards) {
        if (HasTrailingDelimiter(pattern))
            project.AddIgnoreFolder(PathFromHome(home, pattern));
        else
            project.AddWildCard(pattern);
    }
    if (!options.serverRoot.empty())
        project.SetServerRoot(ExpandFileName(options.serverRoot));
}

} // namespace orvane::cli
