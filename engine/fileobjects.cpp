#include "engine/fileobjects.h"

#include "engine/fileobject.h"

#include <algorithm>

namespace orvane {

FileObjectList::FileObjectList() = default;

FileObjectList::~FileObjectList()
{
    DestroyAll();
}

FileObject *FileObjectList::Create(Site &site, TreeNode *node)
{
    m_objects.push_back(std::unique_ptr<FileObject>(new FileObject(site, node, m_nextSequence++)));
    ++m_generation;
    return m_objects.back().get();
}

void FileObjectList::Destroy(FileObject *object)
{
    m_byPath.Remove(object);
    ++m_generation;
    // Objects stand in creation order, so the list is sorted by sequence.
    auto it = std::lower_bound(m_objects.begin(), m_objects.end(), object,
                               [](const std::unique_ptr<FileObject> &a, const FileObject *b) {
                                   return a->Sequence() < b->Sequence();
                               });
    if (it != m_objects.end() && it->get() == object)
        m_objects.erase(it);
}

void FileObjectList::IndexPath(FileObject *object)
{
    m_byPath.Insert(object);
}

void FileObjectList::DestroyAll()
{
    // The same as destroying the first object until none is left, without each
    // removal shifting the rest of the list.
    m_byPath.Clear();
    m_objects.clear();
    ++m_generation;
}

FileObject *FileObjectList::FindFileObject(const std::string &path, bool ignoreCase) const
{
    return m_byPath.Find(path, ignoreCase);
}

TreeNode *FileObjectList::FindFileNode(const std::string &path, bool ignoreCase) const
{
    FileObject *object = FindFileObject(path, ignoreCase);
    return object ? object->Node : nullptr;
}

} // namespace orvane
