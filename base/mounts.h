#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

/// The mount an entry lies on: name relative to the open folder dirFd (empty
/// for dirFd itself), the last component's link not followed. Two folders of
/// one file system seen through two mounts (a bind mount) differ here although
/// their devices are equal. None where the system cannot tell.
std::optional<uint64_t> MountIdOf(int dirFd, const std::string &name);

/// Tells the folders that lie on a file system showing the state of the system
/// rather than files (proc, sysfs, devtmpfs, devpts, cgroup, debugfs, tracefs,
/// securityfs, pstore, bpf and the like): such folders are not for a site,
/// and their entries may be devices or may never end.
class PseudoFileSystems
{
public:
    /// Whether the open folder fd lies on such a file system.
    bool Holds(int fd);

private:
    // devtmpfs shows itself as tmpfs; the mount list tells them apart, and
    // what it told of each mount is kept for the next folder.
    std::unordered_map<uint64_t, bool> m_deviceMounts;
};

/// The mount points that lie strictly below folder (an absolute path without
/// symbolic links), as the system lists them for this process; empty when the
/// list cannot be read.
std::vector<std::string> MountPointsBelow(const std::string &folder);

} // namespace orvane
