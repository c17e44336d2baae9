#include "base/mounts.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <fstream>
#include <sstream>
#include <string_view>

namespace orvane {

namespace {

constexpr const char *MountInfoPath = "/proc/self/mountinfo";

// File systems that report the magic number of tmpfs but hold device nodes.
bool isDeviceTmpfs(std::string_view type)
{
    return type == "devtmpfs";
}

bool isPseudoMagic(unsigned long magic)
{
    switch (magic) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case BINFMTFS_MAGIC:
    case NSFS_MAGIC:
    case EFIVARFS_MAGIC:
    case SELINUX_MAGIC:
    case SMACK_MAGIC:
    case USBDEVICE_SUPER_MAGIC:
    case DEVMEM_MAGIC:
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x19800202: // mqueue
    case 0x67596969: // rpc_pipefs
        return true;
    default:
        return false;
    }
}

/// Undoes the octal escapes (\040 for a blank) of a path in mountinfo.
std::string unescape(std::string_view field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 +
                                         (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

/// One line of mountinfo: "id parent major:minor root mountpoint options
/// [optional fields] - type source superoptions".
struct MountLine
{
    uint64_t id = 0;
    std::string mountPoint;
    std::string type;
};

bool parseMountLine(const std::string &line, MountLine &mount)
{
    std::istringstream in(line);
    std::string parent, devices, root, point, field;
    if (!(in >> mount.id >> parent >> devices >> root >> point))
        return false;
    mount.mountPoint = unescape(point);
    while (in >> field && field != "-") {
    }
    return static_cast<bool>(in >> mount.type);
}

template<typename Visit>
void forEachMount(Visit visit)
{
    // The list is made as it is read (its size shows as 0), and it ends.
    std::ifstream lines(MountInfoPath);
    std::string line;
    MountLine mount;
    while (std::getline(lines, line))
        if (parseMountLine(line, mount))
            visit(mount);
}

std::string mountTypeOf(uint64_t id)
{
    std::string type;
    forEachMount([&](const MountLine &mount) {
        if (mount.id == id)
            type = mount.type;
    });
    return type;
}

} // namespace

std::optional<uint64_t> MountIdOf(int dirFd, const std::string &name)
{
    struct statx info
    {
    };
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (name.empty() ? AT_EMPTY_PATH : 0);
    if (::statx(dirFd, name.c_str(), flags, STATX_MNT_ID, &info) != 0 ||
        !(info.stx_mask & STATX_MNT_ID))
        return std::nullopt;
    return info.stx_mnt_id;
}

bool PseudoFileSystems::Holds(int fd)
{
    struct statfs fs
    {
    };
    if (::fstatfs(fd, &fs) != 0)
        return false;
    if (isPseudoMagic(static_cast<unsigned long>(fs.f_type)))
        return true;
    if (static_cast<unsigned long>(fs.f_type) != TMPFS_MAGIC)
        return false;
    const std::optional<uint64_t> id = MountIdOf(fd, {});
    if (!id)
        return false;
    const auto known = m_deviceMounts.find(*id);
    if (known != m_deviceMounts.end())
        return known->second;
    return m_deviceMounts[*id] = isDeviceTmpfs(mountTypeOf(*id));
}

std::vector<std::string> MountPointsBelow(const std::string &folder)
{
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    std::vector<std::string> below;
    forEachMount([&](const MountLine &mount) {
        if (mount.mountPoint.size() > prefix.size() && mount.mountPoint.starts_with(prefix))
            below.push_back(mount.mountPoint);
    });
    return below;
}

} // namespace orvane
