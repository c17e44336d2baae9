#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// The keys of one section of an INI file: finds the line of a key name
/// without regard to ASCII letter case. It keeps only a hash and a line
/// number per key and reads the name from the line itself when comparing, so
/// that a file of a few hundred thousand keys costs no allocation per key.
class ProfileKeyIndex
{
public:
    /// The key name of a key line (blanks around it trimmed); empty for a line
    /// that holds no key.
    using KeyOfLine = std::string_view (*)(std::string_view line);

    explicit ProfileKeyIndex(KeyOfLine keyOf)
        : m_keyOf(keyOf)
    {
    }

    void reserve(size_t keys);
    /// The line of the first key equal to name (trimmed, without case), or -1.
    long find(std::string_view name, const std::vector<std::string> &lines) const;
    /// Records the key of lines[line] unless an equal key is recorded already.
    void add(size_t line, const std::vector<std::string> &lines);

private:
    struct Slot
    {
        uint64_t hash = 0; // 0: empty
        uint32_t line = 0;
    };
    static uint64_t hashOf(std::string_view name);
    void grow();

    KeyOfLine m_keyOf;
    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

} // namespace orvane
