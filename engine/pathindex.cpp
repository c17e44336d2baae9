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
    place(FoldedHash(object->FullPath), object);
    ++m_live;
}

void PathIndex::place(uint64_t hash, TFileObject *object)
{
    // New entries only ever take never-used slots, so a probe run always
    // reaches every entry of its key; Find picks the first-made among them.
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    while (m_slots[i].hash != Empty)
        i = (i + 1) & mask;
    m_slots[i] = {hash, object};
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
            place(slot.hash, slot.object);
}

void PathIndex::Remove(TFileObject *object)
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
        TFileObject *object = slot.object;
        if (best && best->Sequence() < object->Sequence())
            continue;
        const bool equal = ignoreCase ? SameText(object->FullPath, path) : object->FullPath == path;
        if (equal)
            best = object;
    }
    return best;
}

} // namespace orvane
