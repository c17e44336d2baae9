#pragma once

#include "newsprig/registryvaluetext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// The folder that stands for HKEY_CURRENT_USER:
/// $XDG_CONFIG_HOME/registry/HKEY_CURRENT_USER, with ~/.config in place of
/// XDG_CONFIG_HOME when that is unset, empty or not absolute. Empty when no
/// home folder is known either; every key below an empty root is missing.
std::string CurrentUserRegistryRoot();

/// A key of the per-user store, opened with full access. A key is a folder
/// below the root folder, its path components ("Software/Newsprig") being
/// folder names; its values are the lines of the file ValuesFileName in that
/// folder, which every write replaces as a whole. A key that could not be
/// opened or created is not open, and every write to it fails.
class RegistryKey
{
public:
    static constexpr std::string_view ValuesFileName = "values.reg";

    RegistryKey() = default;

    /// Opens subKey below root. It opens only when its folder exists and the
    /// user may read, write and enter it (full access); otherwise the result is
    /// not open. A component that is empty, "." or "..", or ValuesFileName
    /// makes the path invalid.
    static RegistryKey open(const std::string &root, std::string_view subKey);
    /// As open, first making the folders of the path that do not exist yet.
    static RegistryKey create(const std::string &root, std::string_view subKey);

    bool isOpen() const { return !m_folder.empty(); }
    /// The key's folder, ending in "/"; empty when not open.
    const std::string &folder() const { return m_folder; }
    void close() { m_folder.clear(); }

    /// Writes a REG_SZ value, keeping every other value of the key. False when
    /// the key is not open, name or text cannot be held in one line, or the
    /// values file cannot be read or replaced; the file is then as it was.
    bool setString(std::string_view name, std::string_view text);
    /// Writes a REG_DWORD value; fails as setString does.
    bool setDword(std::string_view name, std::uint32_t number);

    /// The value called name; empty when the key is not open, the values file
    /// cannot be read, or the key has no value of a known type by that name.
    std::optional<RegistryValue> query(std::string_view name) const;

private:
    explicit RegistryKey(std::string folder)
        : m_folder(std::move(folder))
    {
    }
    bool setValue(std::string_view name, const RegistryValue &value);
    std::string valuesPath() const;

    std::string m_folder;
};

} // namespace orvane
