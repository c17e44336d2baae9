#include "newsprig/registration.h"

#include "newsprig/registrykey.h"

#include <string>

namespace orvane {

namespace {

/// A key exists for us only when it opens with full access; anything less
/// counts as missing.
bool keyExists(const std::string &root, std::string_view subKey)
{
    RegistryKey key = RegistryKey::open(root, subKey);
    const bool exists = key.isOpen();
    key.close();
    return exists;
}

std::string subKey(std::string_view parent, std::string_view name)
{
    std::string path(parent);
    path += '/';
    path += name;
    return path;
}

} // namespace

bool RegisterWithNewsprig(std::string_view keyName, std::uint32_t build,
                          std::string_view distinctName)
{
    const std::string currentUser = CurrentUserRegistryRoot();

    if (!keyExists(currentUser, NewsprigKey))
        return true;

    const std::string authorKey = subKey(NewsprigKey, NewsprigAuthorId);
    if (!keyExists(currentUser, authorKey)) {
        RegistryKey author = RegistryKey::create(currentUser, authorKey);
        if (!author.setString("Author", NewsprigAuthor) ||
            !author.setString("DisplayHost", NewsprigDisplayHost) ||
            !author.setString("InfoURL", NewsprigInfoURL))
            return false;
        author.close();
    }

    RegistryKey program = RegistryKey::create(currentUser, subKey(authorKey, keyName));
    if (!program.setString("DistinctName", distinctName) || !program.setDword("Build", build))
        return false;
    program.close();
    return true;
}

} // namespace orvane
