#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

class Site;
class TFileObject;
class TreeNode;

/// Every live file object in creation order, with an index by path so that
/// FindFileNode costs one hash look-up instead of a walk over all files. The
/// list owns its objects: they are made by Create and destroyed by Destroy.
class FileObjectList
{
public:
    FileObjectList();
    ~FileObjectList();
    FileObjectList(const FileObjectList &) = delete;
    FileObjectList &operator=(const FileObjectList &) = delete;

    size_t size() const { return m_objects.size(); }
    bool empty() const { return m_objects.empty(); }
    TFileObject *operator[](size_t i) const { return m_objects[i].get(); }

    /// Makes a file object for a node and appends it to the list.
    TFileObject *Create(Site &site, TreeNode *node);
    /// Takes the object out of the list and destroys it.
    void Destroy(TFileObject *object);
    /// Destroys every object, first to last.
    void DestroyAll();
    /// Called once an object's FullPath is set.
    void IndexPath(TFileObject *object);

    /// The node of the first object (in creation order) whose FullPath equals
    /// path, byte for byte or, with ignoreCase, after folding a-z onto A-Z.
    TreeNode *FindFileNode(const std::string &path, bool ignoreCase) const;
    TFileObject *FindFileObject(const std::string &path, bool ignoreCase) const;

private:
    void unindex(TFileObject *object);

    std::vector<std::unique_ptr<TFileObject>> m_objects;
    // Hash and equality of paths with a-z folded onto A-Z, usable with
    // string_view keys so that a look-up allocates nothing.
    struct FoldedHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view path) const;
    };
    struct FoldedEqual
    {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    // Path (any of its letter cases) -> the objects with that path without
    // regard to case, in creation order.
    std::unordered_map<std::string, std::vector<TFileObject *>, FoldedHash, FoldedEqual> m_byPath;
    uint64_t m_nextSequence = 0;
};

} // namespace orvane
