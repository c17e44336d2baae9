#include "engine/pathindex.h"

#include "base/strutil.h"
#include "engine/fileobject.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>

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

namespace {

// Tables from this size on are mapped from the system directly: the allocator
// may hand out memory it has to clear itself, all at once.
constexpr size_t MappedFromBytes = 1 << 20;

void *allocateCleared(size_t bytes)
{
    if (bytes < MappedFromBytes)
        return std::calloc(bytes, 1);
    void *memory =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

void release(void *memory, size_t bytes)
{
    if (!memory)
        return;
    if (bytes < MappedFromBytes)
        std::free(memory);
    else
        ::munmap(memory, bytes);
}

} // namespace

PathIndex::Table::Table(size_t size)
    : m_slots(static_cast<Slot *>(allocateCleared(size * sizeof(Slot))))
    , m_size(size)
{
    if (!m_slots)
        throw std::bad_alloc();
}

PathIndex::Table::~Table()
{
    release(m_slots, m_size * sizeof(Slot));
}

PathIndex::Table::Table(Table &&other) noexcept
    : m_slots(std::exchange(other.m_slots, nullptr))
    , m_size(std::exchange(other.m_size, 0))
{
}

PathIndex::Table &PathIndex::Table::operator=(Table &&other) noexcept
{
    if (this != &other) {
        release(m_slots, m_size * sizeof(Slot));
        m_slots = std::exchange(other.m_slots, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

namespace {

// Entries moved from the old table at each insertion. The new table is four
// times the old one's size, so the move ends long before the next growth.
constexpr size_t MovedPerInsert = 8;

} // namespace

void PathIndex::Insert(FileObject *object)
{
    if ((m_live + m_deleted + 1) * 2 > m_slots.size())
        grow();
    place(m_slots, {FoldedHash(object->FullPath), object});
    ++m_live;
    moveSome(MovedPerInsert);
}

void PathIndex::place(Table &table, const Slot &slot)
{
    // New entries only ever take never-used slots, so a probe run always
    // reaches every entry of its key; Find picks the first-made among them.
    const size_t mask = table.size() - 1;
    size_t i = slot.hash & mask;
    while (table[i].hash != Empty)
        i = (i + 1) & mask;
    table[i] = slot;
}

void PathIndex::grow()
{
    moveSome(SIZE_MAX);
    size_t capacity = 64;
    while (capacity < (m_live + 1) * 4)
        capacity *= 2;
    m_old = std::move(m_slots);
    m_oldNext = 0;
    m_slots = Table(capacity);
    m_deleted = 0;
    moveSome(MovedPerInsert);
}

void PathIndex::moveSome(size_t count)
{
    for (; count > 0 && m_oldNext < m_old.size(); ++m_oldNext) {
        Slot &slot = m_old[m_oldNext];
        if (slot.object) {
            place(m_slots, slot);
            --count;
        }
        slot = {};
    }
    if (m_oldNext == m_old.size() && !m_old.empty()) {
        m_old = Table();
        m_oldNext = 0;
    }
}

template<typename Visit>
void PathIndex::probeOld(uint64_t hash, Visit &&visit) const
{
    if (m_old.empty())
        return;
    const size_t mask = m_old.size() - 1;
    size_t i = hash & mask;
    // At most every slot not moved yet, once: they may all be in use.
    for (size_t left = m_old.size() - m_oldNext; left > 0; --left, i = (i + 1) & mask) {
        if (i < m_oldNext)
            i = m_oldNext;
        if (m_old[i].hash == Empty || !visit(m_old[i], i))
            return;
    }
}

void PathIndex::Remove(FileObject *object)
{
    if (m_slots.empty())
        return;
    const uint64_t hash = FoldedHash(object->FullPath);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask; m_slots[i].hash != Empty; i = (i + 1) & mask) {
        if (m_slots[i].object == object) {
            m_slots[i] = {Deleted, nullptr};
            --m_live;
            ++m_deleted;
            return;
        }
    }
    probeOld(hash, [&](const Slot &slot, size_t i) {
        if (slot.object != object)
            return true;
        m_old[i] = {Deleted, nullptr};
        --m_live;
        return false;
    });
}

void PathIndex::Clear()
{
    m_slots = Table();
    m_old = Table();
    m_oldNext = 0;
    m_live = 0;
    m_deleted = 0;
}

FileObject *PathIndex::Find(std::string_view path, bool ignoreCase) const
{
    return Find(path, FoldedHash(path), ignoreCase);
}

FileObject *PathIndex::Find(std::string_view path, uint64_t hash, bool ignoreCase) const
{
    if (m_slots.empty())
        return nullptr;
    FileObject *best = nullptr;
    const auto consider = [&](const Slot &slot, size_t) {
        if (slot.hash != hash || !slot.object)
            return true;
        const std::string_view candidate(slot.object->FullPath);
        if (!(ignoreCase ? SameText(candidate, path) : candidate == path))
            return true;
        if (!best || slot.object->Sequence() < best->Sequence())
            best = slot.object;
        return true;
    };
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask; m_slots[i].hash != Empty; i = (i + 1) & mask)
        consider(m_slots[i], i);
    probeOld(hash, consider);
    return best;
}

void PathIndex::FetchSlot(uint64_t hash) const
{
    if (!m_slots.empty())
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
}

const FileObject *PathIndex::Peek(uint64_t hash) const
{
    if (m_slots.empty())
        return nullptr;
    // Only as far as the line that was fetched: most runs are shorter.
    constexpr size_t LineSlots = 64 / sizeof(Slot);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask, n = 0; n < LineSlots && m_slots[i].hash != Empty;
         ++n, i = (i + 1) & mask) {
        if (m_slots[i].hash == hash && m_slots[i].object)
            return m_slots[i].object;
    }
    return nullptr;
}

} // namespace orvane
