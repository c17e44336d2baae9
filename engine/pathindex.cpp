#include "engine/pathindex.h"

#include "base/strutil.h"
#include "engine/fileobject.h"

#include <cstring>

namespace orvane {

namespace {

constexpr uint64_t EachByte(uint8_t b)
{
    return 0x0101010101010101ull * b;
}

/// Eight bytes with a-z folded onto A-Z, all at once: a byte is a lower-case
/// letter when its low seven bits reach 'a' but not beyond 'z' and its top
/// bit is clear; those bytes lose their 0x20 bit.
uint64_t foldWord(uint64_t x)
{
    const uint64_t low7 = x & EachByte(0x7F);
    const uint64_t atLeastA = low7 + EachByte(0x80 - 'a');
    const uint64_t beyondZ = low7 + EachByte(0x80 - 'z' - 1);
    const uint64_t lower = atLeastA & ~beyondZ & ~x & EachByte(0x80);
    return x ^ (lower >> 2);
}

uint64_t mix(uint64_t hash, uint64_t word)
{
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

} // namespace

uint64_t PathIndex::FoldedHash(std::string_view path)
{
    // Paths run to dozens of bytes and every link is looked up: eight bytes
    // are folded and mixed at a time.
    uint64_t hash = 0xCBF29CE484222325ull ^ path.size();
    size_t i = 0;
    for (; i + 8 <= path.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, path.data() + i, 8);
        hash = mix(hash, foldWord(word));
    }
    if (i < path.size()) {
        uint64_t word = 0;
        std::memcpy(&word, path.data() + i, path.size() - i);
        hash = mix(hash, foldWord(word));
    }
    return hash > Deleted ? hash : hash + 2;
}

void PathIndex::Insert(FileObject *object)
{
    if ((m_live + m_deleted + 1) * 2 > m_slots.size())
        grow();
    place({FoldedHash(object->FullPath), object});
    ++m_live;
}

void PathIndex::place(const Slot &slot)
{
    // New entries only ever take never-used slots, so a probe run always
    // reaches every entry of its key; Find picks the first-made among them.
    const size_t mask = m_slots.size() - 1;
    size_t i = slot.hash & mask;
    while (m_slots[i].hash != Empty)
        i = (i + 1) & mask;
    m_slots[i] = slot;
}

void PathIndex::grow()
{
    std::vector<Slot> old;
    old.swap(m_slots);
    size_t capacity = 64;
    while (capacity < (m_live + 1) * 4)
        capacity *= 2;
    m_slots.assign(capacity, Slot{});
    m_deleted = 0;
    for (const Slot &slot : old)
        if (slot.object)
            place(slot);
}

void PathIndex::Remove(FileObject *object)
{
    if (m_slots.empty())
        return;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = FoldedHash(object->FullPath) & mask; m_slots[i].hash != Empty;
         i = (i + 1) & mask) {
        if (m_slots[i].object == object) {
            m_slots[i] = {Deleted, nullptr};
            --m_live;
            ++m_deleted;
            return;
        }
    }
}

void PathIndex::Clear()
{
    m_slots.clear();
    m_live = 0;
    m_deleted = 0;
}

FileObject *PathIndex::Find(std::string_view path, bool ignoreCase) const
{
    if (m_slots.empty())
        return nullptr;
    const uint64_t hash = FoldedHash(path);
    const size_t mask = m_slots.size() - 1;
    FileObject *best = nullptr;
    for (size_t i = hash & mask; m_slots[i].hash != Empty; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.hash != hash || !slot.object)
            continue;
        const std::string_view candidate(slot.object->FullPath);
        if (!(ignoreCase ? SameText(candidate, path) : candidate == path))
            continue;
        if (!best || slot.object->Sequence() < best->Sequence())
            best = slot.object;
    }
    return best;
}

} // namespace orvane
