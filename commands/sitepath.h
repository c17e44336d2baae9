#pragma once

#include "base/uniquefd.h"

#include <cstdint>
#include <optional>
#include <string>

#include <sys/types.h>

namespace orvane {

/// Why an entry of the site cannot be acted on.
enum class SitePathRefusal {
    none,
    notInSite,      // the path does not lie below the home folder
    missing,        // a folder on the way is gone (or cannot be entered)
    throughLink,    // a folder on the way is a symbolic link
    otherFileSystem // a folder on the way lies on another mount
};

/// The mount that a folder lies on: its mount id where the system tells it
/// (a bind mount of the same file system has one of its own), and its device.
struct MountIdentity
{
    std::optional<uint64_t> mount;
    dev_t device = 0;
    bool operator==(const MountIdentity &) const = default;
};

/// The folder that holds an entry of the site, opened from the home folder one
/// name at a time: never through a symbolic link and never onto another mount,
/// whatever the tree became since it was scanned. Only the home folder itself
/// is opened by its path. One descriptor is held at a time on the way.
struct SiteEntry
{
    UniqueFd folder;    // the folder that holds the entry (O_PATH)
    std::string name;   // the entry's name in it
    MountIdentity home; // the mount of the home folder
    SitePathRefusal refusal = SitePathRefusal::none;
    std::string where; // with a refusal: the path as far as it was taken
};

/// Opens the folder holding path, an absolute path below homeDir (both taken
/// lexically: "." and ".." resolve on the text, never on the disk). The entry
/// itself is not looked at. The home folder itself is refused (notInSite).
SiteEntry OpenSiteEntry(const std::string &homeDir, const std::string &path);

/// The mount of the entry name of the open folder dirFd (empty name: dirFd
/// itself), its last link not followed; false when it cannot be looked at.
bool MountIdentityOf(int dirFd, const std::string &name, MountIdentity &identity);

} // namespace orvane
