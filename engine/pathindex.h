#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane {

class FileObject;

/// Finds file objects by path, with or without regard to letter case, in one
/// probe of a flat hash table keyed by the case-folded path. Of several objects
/// whose paths are equal, the one made first (lowest sequence) is found, as a
/// walk over the objects in creation order would find it.
class PathIndex
{
public:
    void Insert(FileObject *object);
    void Remove(FileObject *object);
    void Clear();

    /// The first-made object whose FullPath equals path byte for byte or,
    /// with ignoreCase, after folding a-z onto A-Z; none when there is none.
    FileObject *Find(std::string_view path, bool ignoreCase) const;
    /// The same, with hash = FoldedHash(path) worked out beforehand.
    FileObject *Find(std::string_view path, uint64_t hash, bool ignoreCase) const;

    /// A look-up visits a slot, then the object the slot names, then that
    /// object's path, each found through the one before. Looking up several
    /// paths, a caller may fetch their slots into the cache some time before,
    /// then peek at the objects they most likely name to fetch those: the
    /// waits for memory of the look-ups then overlap. Neither changes anything.
    void FetchSlot(uint64_t hash) const;
    /// The object of the first slot of hash within the cache line FetchSlot
    /// fetched, or none: what a Find of a path with that hash most likely
    /// gives, unchecked.
    const FileObject *Peek(uint64_t hash) const;

    /// FNV-1a over the path with a-z folded onto A-Z; never 0 or 1, which mark
    /// empty and deleted slots.
    static uint64_t FoldedHash(std::string_view path);

private:
    // Sixteen bytes a slot: a full hash match is almost always the path, so
    // the object's own path is compared only then. All zero: never used.
    struct Slot
    {
        uint64_t hash = 0; // 0: never used; 1: deleted
        FileObject *object = nullptr;
    };
    static constexpr uint64_t Empty = 0;
    static constexpr uint64_t Deleted = 1;

    /// A power-of-two number of slots in memory the system hands out
    /// cleared: a large table costs nothing until its pages are written, a
    /// few at each insertion.
    class Table
    {
    public:
        Table() = default;
        explicit Table(size_t size);
        ~Table();
        Table(Table &&other) noexcept;
        Table &operator=(Table &&other) noexcept;

        size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }
        Slot &operator[](size_t i) { return m_slots[i]; }
        const Slot &operator[](size_t i) const { return m_slots[i]; }

    private:
        Slot *m_slots = nullptr;
        size_t m_size = 0;
    };

    /// Calls visit(slot, index) along the probe run of hash in the table being
    /// moved from, until it returns false. The slots moved so far are empty
    /// and are passed over, so runs that went through them still arrive.
    template<typename Visit>
    void probeOld(uint64_t hash, Visit &&visit) const;
    void grow();
    /// Moves up to count entries of the old table into the current one.
    void moveSome(size_t count);
    static void place(Table &table, const Slot &slot);

    // A table that grows moves its entries over a few at each insertion, so
    // that no insertion holds the scan for the time of moving them all.
    Table m_slots;
    Table m_old; // being moved from; its slots before m_oldNext are moved
    size_t m_oldNext = 0;
    size_t m_live = 0;    // in both tables
    size_t m_deleted = 0; // in m_slots
};

} // namespace orvane
