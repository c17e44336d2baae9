#include "base/profilekeyindex.h"

#include "base/strutil.h"

namespace orvane {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

uint64_t ProfileKeyIndex::hashOf(std::string_view name)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(asciiUpper(c));
        hash *= 1099511628211ull;
    }
    return hash == 0 ? 1 : hash;
}

void ProfileKeyIndex::reserve(size_t keys)
{
    size_t size = 16;
    while (size < keys * 2)
        size *= 2;
    if (size <= m_slots.size())
        return;
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(size, Slot{});
    m_used = 0;
    for (const Slot &slot : old) {
        if (slot.hash == 0)
            continue;
        size_t i = slot.hash & (m_slots.size() - 1);
        while (m_slots[i].hash != 0)
            i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = slot;
        ++m_used;
    }
}

void ProfileKeyIndex::grow()
{
    reserve(m_slots.empty() ? 8 : m_slots.size());
}

long ProfileKeyIndex::find(std::string_view name, const std::vector<std::string> &lines) const
{
    if (m_slots.empty())
        return -1;
    name = trimmed(name);
    const uint64_t hash = hashOf(name);
    for (size_t i = hash & (m_slots.size() - 1); m_slots[i].hash != 0;
         i = (i + 1) & (m_slots.size() - 1)) {
        const Slot &slot = m_slots[i];
        if (slot.hash == hash && SameText(m_keyOf(lines[slot.line]), name))
            return static_cast<long>(slot.line);
    }
    return -1;
}

void ProfileKeyIndex::add(size_t line, const std::vector<std::string> &lines)
{
    const std::string_view name = m_keyOf(lines[line]);
    if (find(name, lines) >= 0)
        return;
    if ((m_used + 1) * 2 > m_slots.size())
        grow();
    const uint64_t hash = hashOf(name);
    size_t i = hash & (m_slots.size() - 1);
    while (m_slots[i].hash != 0)
        i = (i + 1) & (m_slots.size() - 1);
    m_slots[i] = {hash, static_cast<uint32_t>(line)};
    ++m_used;
}

} // namespace orvane
