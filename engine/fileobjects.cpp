#include "engine/fileobjects.h"

#include "base/strutil.h"
#include "engine/fileobject.h"

#include <algorithm>

namespace orvane {

namespace {

bool bySequence(const TFileObject *a, const TFileObject *b)
{
    return a->Sequence() < b->Sequence();
}

bool ownedBySequence(const std::unique_ptr<TFileObject> &a, const TFileObject *b)
{
    return a->Sequence() < b->Sequence();
}

} // namespace

size_t FileObjectList::FoldedHash::operator()(std::string_view path) const
{
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (char c : path) {
        hash ^= static_cast<unsigned char>(asciiUpper(c));
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool FileObjectList::FoldedEqual::operator()(std::string_view a, std::string_view b) const
{
    return SameText(a, b);
}

FileObjectList::FileObjectList() = default;

FileObjectList::~FileObjectList()
{
    DestroyAll();
}

TFileObject *FileObjectList::Create(Site &site, TreeNode *node)
{
    m_objects.push_back(std::unique_ptr<TFileObject>(new TFileObject(site, node, m_nextSequence++)));
    return m_objects.back().get();
}

void FileObjectList::Destroy(TFileObject *object)
{
    unindex(object);
    // Objects stand in creation order, so the list is sorted by sequence.
    auto it = std::lower_bound(m_objects.begin(), m_objects.end(), object, ownedBySequence);
    if (it != m_objects.end() && it->get() == object)
        m_objects.erase(it);
}

void FileObjectList::IndexPath(TFileObject *object)
{
    auto &bucket = m_byPath[object->FullPath];
    auto it = std::upper_bound(bucket.begin(), bucket.end(), object, bySequence);
    bucket.insert(it, object);
}

void FileObjectList::unindex(TFileObject *object)
{
    auto found = m_byPath.find(std::string_view(object->FullPath));
    if (found == m_byPath.end())
        return;
    auto &bucket = found->second;
    bucket.erase(std::remove(bucket.begin(), bucket.end(), object), bucket.end());
    if (bucket.empty())
        m_byPath.erase(found);
}

void FileObjectList::DestroyAll()
{
    // The same as destroying the first object until none is left, without each
    // removal shifting the rest of the list.
    m_byPath.clear();
    m_objects.clear();
}

TFileObject *FileObjectList::FindFileObject(const std::string &path, bool ignoreCase) const
{
    auto found = m_byPath.find(std::string_view(path));
    if (found == m_byPath.end())
        return nullptr;
    for (TFileObject *object : found->second)
        if (ignoreCase || object->FullPath == path)
            return object;
    return nullptr;
}

TreeNode *FileObjectList::FindFileNode(const std::string &path, bool ignoreCase) const
{
    TFileObject *object = FindFileObject(path, ignoreCase);
    return object ? object->Node : nullptr;
}

} // namespace orvane
