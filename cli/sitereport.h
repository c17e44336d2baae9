#pragma once

#include <string>
#include <vector>

namespace orvane {
class Site;
class FileObject;
} // namespace orvane

namespace orvane::cli {

/// The path of a file or folder below the site's home folder, relative to it;
/// a path outside it stays whole.
std::string RelativePath(const Site &site, const std::string &fullPath);

/// The orphaned files: not excluded and unreached, in FileObjects order.
std::vector<const FileObject *> Orphans(const Site &site);

/// The folders that need attention (cyan), in FolderNodes order, each as its
/// path relative to the home folder with a trailing "/".
std::vector<std::string> AttentionFolders(const Site &site);

/// Whether the check found anything: a page with invalid links or an orphan.
bool HasFindings(const Site &site);

} // namespace orvane::cli
