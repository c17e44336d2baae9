#pragma once

#include <optional>
#include <string>

namespace orvane::test {

/// Sets (or, with a null value, unsets) an environment variable for the life
/// of the object, then puts the old value back.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const char *value);
    ScopedEnv(const char *name, const std::string &value)
        : ScopedEnv(name, value.c_str())
    {
    }
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace orvane::test
