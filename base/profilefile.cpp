#include "base/profilefile.h"

#include "base/atomicfile.h"
#include "base/strutil.h"

#include <climits>
#include <fstream>
#include <sstream>

namespace orvane {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The name inside "[...]" when the line is a section header.
bool sectionName(std::string_view line, std::string_view &name)
{
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[')
        return false;
    line.remove_prefix(1);
    const size_t close = line.find(']');
    name = trimBlanks(close == std::string_view::npos ? line : line.substr(0, close));
    return true;
}

// Splits a key line at its first "="; comment lines (";") and lines without
// "=" are no key lines.
bool keyLine(std::string_view line, std::string_view &key, std::string_view &value)
{
    const std::string_view trimmed = trimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return false;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trimBlanks(line.substr(0, eq));
    value = line.substr(eq + 1);
    return true;
}

std::string valueOf(std::string_view raw)
{
    std::string_view value = trimBlanks(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > ProfileFile::MaxValueLength)
        value = value.substr(0, ProfileFile::MaxValueLength);
    return std::string(value);
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Digits of the given base up to the end of text; false on anything else or
// on a value beyond the range of long.
bool parseDigits(std::string_view text, int base, bool negative, long &result)
{
    if (text.empty())
        return false;
    unsigned long magnitude = 0;
    const unsigned long limit = negative ? static_cast<unsigned long>(LONG_MAX) + 1 : LONG_MAX;
    for (const char c : text) {
        const int d = digitValue(c);
        if (d >= base)
            return false;
        if (magnitude > (limit - static_cast<unsigned long>(d)) / static_cast<unsigned long>(base))
            return false;
        magnitude = magnitude * static_cast<unsigned long>(base) + static_cast<unsigned long>(d);
    }
    result = negative ? static_cast<long>(0UL - magnitude) : static_cast<long>(magnitude);
    return true;
}

bool parseInteger(std::string_view text, long &result)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (StartsWith(text, "$"))
        return parseDigits(text.substr(1), 16, negative, result);
    if (StartsWith(text, "0x") || StartsWith(text, "0X"))
        return parseDigits(text.substr(2), 16, negative, result);
    return parseDigits(text, 10, negative, result);
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.emplace_back(text, start, stop - start);
        start = end + 1;
    }
    return lines;
}

} // namespace

ProfileFile::ProfileFile(std::string path)
    : m_path(std::move(path))
{
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return;
    std::ostringstream contents;
    contents << in.rdbuf();
    m_lines = splitLines(contents.str());
}

long ProfileFile::findSection(std::string_view section) const
{
    std::string_view name;
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (sectionName(m_lines[i], name) && SameText(name, section))
            return static_cast<long>(i);
    return -1;
}

long ProfileFile::findKey(long sectionLine, std::string_view key) const
{
    std::string_view name, value;
    for (size_t i = static_cast<size_t>(sectionLine) + 1; i < m_lines.size(); ++i) {
        if (sectionName(m_lines[i], name))
            break;
        if (keyLine(m_lines[i], name, value) && SameText(name, key))
            return static_cast<long>(i);
    }
    return -1;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const
{
    const long sectionLine = findSection(section);
    const long line = sectionLine < 0 ? -1 : findKey(sectionLine, key);
    if (line < 0)
        return std::string(defaultValue);
    std::string_view name, value;
    keyLine(m_lines[static_cast<size_t>(line)], name, value);
    return valueOf(value);
}

long ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                              long defaultValue) const
{
    long value = 0;
    if (!KeyExists(section, key) || !parseInteger(ReadString(section, key, {}), value))
        return defaultValue;
    return value;
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool ProfileFile::KeyExists(std::string_view section, std::string_view key) const
{
    const long sectionLine = findSection(section);
    return sectionLine >= 0 && findKey(sectionLine, key) >= 0;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value)
{
    std::string line = std::string(key) + "=" + std::string(value);
    long sectionLine = findSection(section);
    if (sectionLine < 0) {
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
        return;
    }
    const long existing = findKey(sectionLine, key);
    if (existing >= 0) {
        m_lines[static_cast<size_t>(existing)] = std::move(line);
        return;
    }
    // A new key goes behind the last non-blank line of its section, so that
    // blank lines that part it from the next section stay where they are.
    size_t insertAt = static_cast<size_t>(sectionLine) + 1;
    std::string_view name;
    for (size_t i = insertAt; i < m_lines.size() && !sectionName(m_lines[i], name); ++i)
        if (!trimBlanks(m_lines[i]).empty())
            insertAt = i + 1;
    m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), std::move(line));
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, long value)
{
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::EraseSection(std::string_view section)
{
    std::vector<std::string> kept;
    bool inside = false;
    std::string_view name;
    for (std::string &line : m_lines) {
        if (sectionName(line, name))
            inside = SameText(name, section);
        if (!inside)
            kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
}

void ProfileFile::Clear()
{
    m_lines.clear();
}

std::string ProfileFile::Text() const
{
    std::string text;
    for (const std::string &line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void ProfileFile::Save() const
{
    WriteFileAtomically(m_path, Text());
}

} // namespace orvane
