#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::fuzz {

/// Takes a fuzzer's bytes apart into the arguments of one call: flags from
/// single bytes, strings up to a separator byte, and the rest.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
        : m_rest(reinterpret_cast<const char *>(data), size)
    {
    }

    /// One byte, 0 when the input is used up.
    uint8_t byte()
    {
        if (m_rest.empty())
            return 0;
        const auto b = static_cast<uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }

    bool empty() const { return m_rest.empty(); }

    /// The bytes up to the next separator (which is consumed), or all that is left.
    std::string upTo(char separator)
    {
        const size_t at = m_rest.find(separator);
        const std::string_view part = m_rest.substr(0, at);
        m_rest.remove_prefix(at == std::string_view::npos ? m_rest.size() : at + 1);
        return std::string(part);
    }

    std::string rest()
    {
        const std::string all(m_rest);
        m_rest = {};
        return all;
    }

private:
    std::string_view m_rest;
};

/// A file path in a folder of this process's own (in shared memory when
/// there is some), for targets whose unit reads only from disk.
std::string ScratchPath(std::string_view name);

/// Replaces the file at path with bytes; aborts when that fails, since the
/// target would then test nothing.
void WriteScratch(const std::string &path, std::string_view bytes);

/// Aborts with a message: a broken property is a fault like a crash.
[[noreturn]] void PropertyFailed(const char *what);

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::orvane::fuzz::PropertyFailed(#cond);                                                 \
    } while (0)

} // namespace orvane::fuzz
