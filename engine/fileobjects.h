#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "engine/pathindex.h"

namespace orvane {

class Site;
class FileObject;
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
    FileObject *operator[](size_t i) const { return m_objects[i].get(); }

    /// Makes a file object for a node and appends it to the list.
    FileObject *Create(Site &site, TreeNode *node);
    /// Takes the object out of the list and destroys it.
    void Destroy(FileObject *object);
    /// Destroys every object, first to last.
    void DestroyAll();
    /// Called once an object's FullPath is set.
    void IndexPath(FileObject *object);

    /// The node of the first object (in creation order) whose FullPath equals
    /// path, byte for byte or, with ignoreCase, after folding a-z onto A-Z.
    TreeNode *FindFileNode(const std::string &path, bool ignoreCase) const;
    FileObject *FindFileObject(const std::string &path, bool ignoreCase) const;
    /// The index behind FindFileObject, for look-ups that fetch ahead.
    const PathIndex &Index() const { return m_byPath; }

    /// Changes whenever an object is made or destroyed, so a result cached
    /// from a look-up can tell whether it may still hold.
    uint64_t Generation() const { return m_generation; }

private:
    // In blocks: a list of a million objects grows without moving them all
    // at once, which would hold the scan for tens of milliseconds.
    std::deque<std::unique_ptr<FileObject>> m_objects;
    PathIndex m_byPath;
    uint64_t m_nextSequence = 0;
    uint64_t m_generation = 0;
};

} // namespace orvane
