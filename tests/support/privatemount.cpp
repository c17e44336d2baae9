#include "support/privatemount.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace orvane::test {

namespace {

/// Moves the process into a mount namespace of its own, once; mounts made
/// there are private to it.
bool privateNamespace(std::string &whyNot)
{
    static int error = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return errno;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return errno;
        return 0;
    }();
    if (error != 0)
        whyNot = std::string("no mount namespace of its own: ") + std::strerror(error);
    return error == 0;
}

} // namespace

BindMount::BindMount(const std::string &source, const std::string &target)
    : m_target(target)
{
    if (!privateNamespace(m_whyNot))
        return;
    if (::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        m_whyNot = std::string("bind mount refused: ") + std::strerror(errno);
        return;
    }
    m_mounted = true;
}

BindMount::~BindMount()
{
    if (m_mounted)
        ::umount2(m_target.c_str(), MNT_DETACH);
}

} // namespace orvane::test
