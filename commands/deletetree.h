#pragma once

#include <string>

namespace orvane {

/// What a deletion came to. The refusals delete nothing at all.
enum class DeleteOutcome {
    deleted,         // the entry is gone
    failed,          // it, or something in it, could not be deleted, or it was missing
    notInSite,       // refused: the path does not lie below the home folder
    throughLink,     // refused: a folder on the path is a symbolic link
    otherFileSystem, // refused: the entry or a folder on its path lies on another mount
    mountInside,     // refused: another file system is mounted below the folder
};

struct DeleteResult
{
    DeleteOutcome outcome = DeleteOutcome::failed;
    /// With a refusal: the link, the mount or the path that refused it.
    std::string where;
    bool deleted() const { return outcome == DeleteOutcome::deleted; }
};

/// Deletes the folder at path with everything in it, depth first. path is an
/// absolute path below the home folder homeDir, with or without a trailing
/// "/", taken lexically ("a/b/.." names "a"). It is reached from homeDir one
/// name at a time, never through a symbolic link and never onto another mount
/// (anything else is refused and nothing is deleted); the walk below it never
/// follows a link, never enters another mount and refuses at the start when
/// one lies below. When path itself is a symbolic link, the link goes.
///
/// With clearReadOnly a folder without its owner's write permission gets it
/// before it is emptied (and back if it stays), and a file without it is
/// deleted all the same: removing a name needs no permission on the file, so
/// the permissions of files are never changed. Without clearReadOnly such
/// entries stay and so do the folders above them. A failure does not stop the
/// walk: everything that can go, goes. Descriptors held stay few at any depth.
///
/// deleted exactly when the folder itself is gone; a missing path or one that
/// names no folder gives failed and changes nothing.
DeleteResult DeleteFolderTree(const std::string &homeDir, const std::string &path,
                              bool clearReadOnly);

/// Deletes the entry at path that is no folder (a file, a link, a FIFO),
/// reached from homeDir as DeleteFolderTree reaches a folder.
DeleteResult DeleteSiteFile(const std::string &homeDir, const std::string &path);

/// The message for a refused deletion of path; empty when nothing was
/// refused (deleted, failed), whose messages the callers choose.
std::string DeleteRefusalText(const DeleteResult &result, const std::string &path);

} // namespace orvane
