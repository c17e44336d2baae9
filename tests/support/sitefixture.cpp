#include "support/sitefixture.h"

#include "engine/fileobject.h"

namespace orvane::test {

FileObject *SiteFixture::object(const std::string &relative) const
{
    return site.FileObjects.FindFileObject(dir.path() + relative, false);
}

TreeNode *SiteFixture::node(const std::string &relative) const
{
    TreeNode *current = site.tree.Root();
    size_t pos = 0;
    while (current && pos <= relative.size()) {
        size_t slash = relative.find('/', pos);
        if (slash == std::string::npos)
            slash = relative.size();
        const std::string part = relative.substr(pos, slash - pos);
        TreeNode *next = nullptr;
        for (size_t i = 0; i < current->Count(); ++i)
            if (current->Child(i)->Text() == part)
                next = current->Child(i);
        current = next;
        pos = slash + 1;
    }
    return current;
}

std::vector<std::string> SiteFixture::orphans() const
{
    std::vector<std::string> out;
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        const FileObject *o = site.FileObjects[i];
        if (!o->Ignored && o->ReachState == ReachState::unreached)
            out.push_back(o->FullPath.substr(dir.path().size()));
    }
    return out;
}

std::vector<std::string> SiteFixture::files() const
{
    std::vector<std::string> out;
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        out.push_back(site.FileObjects[i]->FullPath.substr(dir.path().size()));
    return out;
}

} // namespace orvane::test
