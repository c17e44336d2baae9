#pragma once

#include <string>

namespace orvane::test {

/// Bind-mounts folder source on folder target in a mount namespace of this
/// test process's own, so nothing outside the process sees it; the mount goes
/// when the object goes. Where the process may not do so (no privileges, no
/// namespaces), mounted() is false and nothing happened.
class BindMount
{
public:
    BindMount(const std::string &source, const std::string &target);
    ~BindMount();
    BindMount(const BindMount &) = delete;
    BindMount &operator=(const BindMount &) = delete;

    bool mounted() const { return m_mounted; }
    /// Why there is no mount, for a skipped test's message.
    const std::string &whyNot() const { return m_whyNot; }

private:
    std::string m_target;
    bool m_mounted = false;
    std::string m_whyNot;
};

} // namespace orvane::test
