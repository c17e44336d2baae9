#include "engine/pathindex.h"

#include "base/strutil.h"
#include "engine/fileobject.h"

namespace orvane {

uint64_t PathIndex::FoldedHash(std::string_view path)
{
    uint64_t hash = 1469598103934665603ull;
    for (char c : path) {
        hash ^= static_cast<unsigned char>(asciiUpper(c));
        hash *= 1099511628211ull;
    }
    return hash > Deleted ? hash : hash + 2;
}

void PathIndex::Insert(TFileObject *object)
{
    if ((m_live + m_deleted + 1) * 2 > m_slots.size())
        grow();
    place({FoldedHash(object->FullPath), object->FullPath.data(), object->FullPath.size(), object});
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

void PathIndex::Remove(TFileObject *object)
{
    if (m_slots.empty())
        return;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = FoldedHash(object->FullPath) & mask; m_slots[i].hash != Empty;
         i = (i + 1) & mask) {
        if (m_slots[i].object == object) {
            m_slots[i] = {Deleted, nullptr, 0, nullptr};
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

TFileObject *PathIndex::Find(std::string_view path, bool ignoreCase) const
{
    if (m_slots.empty())
        return nullptr;
    const uint64_t hash = FoldedHash(path);
    const size_t mask = m_slots.size() - 1;
    TFileObject *best = nullptr;
    for (size_t i = hash & mask; m_slots[i].hash != Empty; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.hash != hash || !slot.object)
            continue;
        const std::string_view candidate(slot.path, slot.length);
        if (!(ignoreCase ? SameText(candidate, path) : candidate == path))
            continue;
        if (!best || slot.object->Sequence() < best->Sequence())
            best = slot.object;
    }
    return best;
}

} // namespace orvane
