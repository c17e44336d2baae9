#include "newsprig/registryvaluetext.h"

#include "base/errors.h"
#include "base/strutil.h"

#include <cstdio>

namespace orvane {

namespace {

constexpr std::string_view DwordPrefix = "dword:";

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

/// Reads a quoted text starting at line[pos] == '"'; on success pos is just
/// past the closing quote.
std::optional<std::string> unquote(std::string_view line, size_t &pos)
{
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    std::string out;
    for (size_t i = pos + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            pos = i + 1;
            return out;
        }
        if (line[i] == '\\' && i + 1 < line.size())
            ++i;
        out += line[i];
    }
    return std::nullopt;
}

/// The value name of a value line and the position of its data (after "=").
std::optional<std::string> parseName(std::string_view line, size_t &dataPos)
{
    size_t pos = 0;
    std::optional<std::string> name;
    if (StartsWith(line, "@")) {
        name = std::string();
        pos = 1;
    } else {
        name = unquote(line, pos);
    }
    if (!name || pos >= line.size() || line[pos] != '=')
        return std::nullopt;
    dataPos = pos + 1;
    return name;
}

std::optional<std::uint32_t> parseDword(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : digits) {
        const char u = asciiUpper(c);
        int digit = 0;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        else
            return std::nullopt;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

std::optional<RegistryValue> parseData(std::string_view data)
{
    if (StartsWithText(data, DwordPrefix)) {
        if (const auto number = parseDword(data.substr(DwordPrefix.size())))
            return *number;
        return std::nullopt;
    }
    size_t end = 0;
    auto text = unquote(data, end);
    if (!text || end != data.size())
        return std::nullopt;
    return std::move(*text);
}

bool isValueNamed(std::string_view line, std::string_view name)
{
    size_t dataPos = 0;
    const auto lineName = parseName(line, dataPos);
    return lineName && SameText(*lineName, name);
}

} // namespace

RegistryValueText::RegistryValueText(std::string_view text)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

std::optional<RegistryValue> RegistryValueText::value(std::string_view name) const
{
    for (const std::string &line : m_lines) {
        size_t dataPos = 0;
        const auto lineName = parseName(line, dataPos);
        if (lineName && SameText(*lineName, name))
            return parseData(std::string_view(line).substr(dataPos));
    }
    return std::nullopt;
}

void RegistryValueText::set(std::string_view name, const RegistryValue &value)
{
    ORVANE_ASSERT(CanHoldInLine(name), "registryvaluetext");
    std::string line = FormatValueLine(name, value);
    bool replaced = false;
    for (auto it = m_lines.begin(); it != m_lines.end();) {
        if (!isValueNamed(*it, name)) {
            ++it;
        } else if (!replaced) {
            *it++ = std::move(line);
            replaced = true;
        } else {
            it = m_lines.erase(it);
        }
    }
    if (!replaced)
        m_lines.push_back(std::move(line));
}

std::string RegistryValueText::text() const
{
    std::string out;
    for (const std::string &line : m_lines) {
        out += line;
        out += '\n';
    }
    return out;
}

bool CanHoldInLine(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string FormatValueLine(std::string_view name, const RegistryValue &value)
{
    std::string line = name.empty() ? std::string("@") : quoted(name);
    line += '=';
    if (const auto *text = std::get_if<std::string>(&value)) {
        ORVANE_ASSERT(CanHoldInLine(*text), "registryvaluetext");
        line += quoted(*text);
    } else {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", std::get<std::uint32_t>(value));
        line += DwordPrefix;
        line += digits;
    }
    return line;
}

} // namespace orvane
