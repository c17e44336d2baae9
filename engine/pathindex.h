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

    /// FNV-1a over the path with a-z folded onto A-Z; never 0 or 1, which mark
    /// empty and deleted slots.
    static uint64_t FoldedHash(std::string_view path);

private:
    // Sixteen bytes a slot: a full hash match is almost always the path, so
    // the object's own path is compared only then.
    struct Slot
    {
        uint64_t hash = 0; // 0: never used; 1: deleted
        FileObject *object = nullptr;
    };
    static constexpr uint64_t Empty = 0;
    static constexpr uint64_t Deleted = 1;

    void grow();
    void place(const Slot &slot);

    std::vector<Slot> m_slots;
    size_t m_live = 0;
    size_t m_deleted = 0;
};

} // namespace orvane
