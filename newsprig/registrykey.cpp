#include "newsprig/registrykey.h"

#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/inputfile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

std::string homeFolder()
{
    const char *home = std::getenv("HOME");
    if (home && *home == '/')
        return home;
    const passwd *entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir && *entry->pw_dir == '/' ? entry->pw_dir : "";
}

bool validComponent(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name != RegistryKey::ValuesFileName &&
           name.find('\0') == std::string_view::npos;
}

/// root + "/" + subKey, or empty when root is empty or subKey is not a valid
/// key path; a bad component must never reach outside the root.
std::string keyFolder(const std::string &root, std::string_view subKey)
{
    if (root.empty())
        return {};
    std::string folder = root;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    size_t start = 0;
    while (true) {
        const size_t slash = subKey.find('/', start);
        const std::string_view name = subKey.substr(start, slash - start);
        if (!validComponent(name))
            return {};
        folder += '/';
        folder += name;
        if (slash == std::string_view::npos)
            return folder + '/';
        start = slash + 1;
    }
}

bool hasFullAccess(const std::string &folder)
{
    struct stat info
    {
    };
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::faccessat(AT_FDCWD, folder.c_str(), R_OK | W_OK | X_OK, AT_EACCESS) == 0;
}

/// Makes every missing folder of path (which ends in "/"), parents first.
bool makeFolders(const std::string &path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

/// Reads the whole values file. A missing file is a key without values; any
/// other failure must stop a write, which would otherwise drop the values. A
/// FIFO or a device in its place is never read: it could hold the program or
/// feed it without end.
bool readValues(const std::string &path, std::string &text)
{
    switch (ReadInputFile(path, text)) {
    case InputRead::read:
    case InputRead::missing:
        return true;
    default:
        return false;
    }
}

} // namespace

std::string CurrentUserRegistryRoot()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config == '/') {
        base = config;
    } else {
        const std::string home = homeFolder();
        if (home.empty())
            return {};
        base = home + "/.config";
    }
    return base + "/registry/HKEY_CURRENT_USER";
}

RegistryKey RegistryKey::open(const std::string &root, std::string_view subKey)
{
    std::string folder = keyFolder(root, subKey);
    if (folder.empty() || !hasFullAccess(folder))
        return {};
    return RegistryKey(std::move(folder));
}

RegistryKey RegistryKey::create(const std::string &root, std::string_view subKey)
{
    const std::string folder = keyFolder(root, subKey);
    if (folder.empty() || !makeFolders(folder))
        return {};
    return open(root, subKey);
}

bool RegistryKey::setString(std::string_view name, std::string_view text)
{
    return CanHoldInLine(text) && setValue(name, std::string(text));
}

bool RegistryKey::setDword(std::string_view name, std::uint32_t number)
{
    return setValue(name, number);
}

std::optional<RegistryValue> RegistryKey::query(std::string_view name) const
{
    std::string text;
    if (!isOpen() || !readValues(valuesPath(), text))
        return std::nullopt;
    return RegistryValueText(text).value(name);
}

bool RegistryKey::setValue(std::string_view name, const RegistryValue &value)
{
    std::string text;
    if (!isOpen() || !CanHoldInLine(name) || !readValues(valuesPath(), text))
        return false;
    RegistryValueText values(text);
    values.set(name, value);
    try {
        WriteFileAtomically(valuesPath(), values.text());
    } catch (const EWriteError &) {
        return false;
    }
    return true;
}

std::string RegistryKey::valuesPath() const
{
    return m_folder + std::string(ValuesFileName);
}

} // namespace orvane
