#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane {

/// A value of the store: text (REG_SZ) or a 32-bit number (REG_DWORD).
using RegistryValue = std::variant<std::string, std::uint32_t>;

/// The text of one key's values file, one value a line in the notation of
/// registry exports:
///   "Name"="text"            REG_SZ; "\" and '"' inside the quotes are escaped with "\"
///   "Name"=dword:00000ac3    REG_DWORD, eight hexadecimal digits
///   @="text"                 the key's unnamed value
/// Value names compare without ASCII case, as the registry's do. Lines it does
/// not understand (other value types, comments, blank lines) are kept as they
/// are, so that a write never loses what someone put into the file by hand.
class RegistryValueText
{
public:
    /// Splits text into lines; LF and CR LF line ends are both accepted.
    explicit RegistryValueText(std::string_view text = {});

    /// The first value called name; empty when there is none or when its line
    /// holds a value type this store does not know.
    std::optional<RegistryValue> value(std::string_view name) const;

    /// Replaces the first line of the value called name (whatever its type) and
    /// drops any later ones of the same name, or appends a line when there is
    /// none. Name and text must pass CanHoldInLine.
    void set(std::string_view name, const RegistryValue &value);

    /// The lines, each ended by LF; empty when there are none.
    std::string text() const;

private:
    std::vector<std::string> m_lines;
};

/// Whether text can be written inside one line of the file: no CR, LF or NUL
/// (a NUL would end a REG_SZ value early anyway).
bool CanHoldInLine(std::string_view text);

/// One line of the file for the value, without its line end.
std::string FormatValueLine(std::string_view name, const RegistryValue &value);

} // namespace orvane
