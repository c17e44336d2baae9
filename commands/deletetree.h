#pragma once

#include <string>

namespace orvane {

/// Deletes the folder at path with everything in it, depth first; path may end
/// in "/" or not and is expanded lexically first, so "a/b/.." names "a".
///
/// With clearReadOnly, an entry without the owner's write permission gets it
/// before it is deleted (a folder before it is entered); without it, such an
/// entry stays and so do the folders above it. A failure does not stop the
/// walk: everything that can go, goes.
///
/// A symbolic link is removed as a link and never followed; when path itself
/// is a link to a folder, the link goes and the result is true. Every folder
/// is opened relative to its already open parent and never through a link, so
/// nothing outside the folder is touched even if the tree changes during the
/// walk. "/" is refused.
///
/// Returns true exactly when the folder itself is gone; a missing path or one
/// that names no folder gives false and changes nothing.
bool DeleteFolderTree(const std::string &path, bool clearReadOnly);

} // namespace orvane
