#pragma once

#include "engine/site.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "settings/settings.h"
#include "support/recordinghost.h"
#include "support/tempdir.h"

#include <string>
#include <vector>

namespace orvane::test {

/// Everything a check needs, wired as the program wires it, around a temporary
/// folder for the site.
struct SiteFixture
{
    RecordingHost host;
    Settings settings;
    MemoryProjectView view;
    Project project{view};
    Site site{host, settings, project};
    TempDir dir;

    /// The file object of a path relative to the site folder (none if absent).
    FileObject *object(const std::string &relative) const;
    /// The node whose path of texts from the root is relative ("sub/a.html").
    TreeNode *node(const std::string &relative) const;
    /// Paths (relative to the site folder) of the files that are orphaned:
    /// not excluded and unreached, in FileObjects order.
    std::vector<std::string> orphans() const;
    /// Every file's path relative to the site folder, in FileObjects order.
    std::vector<std::string> files() const;
};

} // namespace orvane::test
