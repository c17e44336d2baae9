#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class TFileObject;
class TreeNode;

/// Every live file object in creation order, with an index by path so that
/// FindFileNode costs one hash look-up instead of a walk over all files. The
/// list owns its objects.
class FileObjectList
{
public:
    FileObjectList() = default;
    ~FileObjectList();
    FileObjectList(const FileObjectList &) = delete;
    FileObjectList &operator=(const FileObjectList &) = delete;

    size_t size() const { return m_objects.size(); }
    bool empty() const { return m_objects.empty(); }
    TFileObject *operator[](size_t i) const { return m_objects[i]; }
    auto begin() const { return m_objects.begin(); }
    auto end() const { return m_objects.end(); }
    TFileObject *First() const { return m_objects.empty() ? nullptr : m_objects.front(); }

    /// Called by TFileObject's constructor and destructor.
    void Append(TFileObject *object);
    void Remove(TFileObject *object);
    /// Called once an object's FullPath is set.
    void IndexPath(TFileObject *object);

    /// Destroys every object, first to last.
    void DestroyAll();

    /// The node of the first object (in creation order) whose FullPath equals
    /// path, byte for byte or, with ignoreCase, after folding a-z onto A-Z.
    TreeNode *FindFileNode(const std::string &path, bool ignoreCase) const;
    TFileObject *FindFileObject(const std::string &path, bool ignoreCase) const;

    uint64_t NextSequence() { return m_nextSequence++; }

private:
    void unindex(TFileObject *object);

    std::vector<TFileObject *> m_objects;
    // Folded path -> objects with that folded path, in creation order.
    std::unordered_map<std::string, std::vector<TFileObject *>> m_byPath;
    uint64_t m_nextSequence = 0;
    bool m_destroying = false;
};

} // namespace orvane
