#include "base/profilefile.h"

#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/inputfile.h"
#include "base/strutil.h"

#include <algorithm>
#include <climits>

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

std::string fold(std::string_view name)
{
    return AsciiUpper(trimBlanks(name));
}

} // namespace

ProfileFile::ProfileFile(std::string path)
    : m_path(std::move(path))
{
    m_sections.emplace_back();
    // Only a regular file is read: a FIFO or a device in its place reads as
    // empty at once instead of holding the program or filling its memory.
    std::string text;
    if (ReadInputFile(m_path, text) != InputRead::read)
        return;
    size_t start = 0;
    // Editors may begin a UTF-8 file with a byte-order mark; it is no part of
    // the first line, and it is written back as it was found.
    if (text.starts_with(ByteOrderMark)) {
        m_byteOrderMark = true;
        start = ByteOrderMark.size();
    }
    // A project file may hold hundreds of thousands of lines: a section is
    // made ready for as many as are left, instead of growing line by line.
    size_t linesLeft = static_cast<size_t>(std::count(text.begin() + start, text.end(), '\n')) + 1;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        addLine(text.substr(start, stop - start), --linesLeft);
        start = end + 1;
    }
}

std::string_view ProfileFile::KeyOfLine(std::string_view line)
{
    std::string_view name, value;
    return keyLine(line, name, value) ? name : std::string_view();
}

void ProfileFile::addLine(std::string line, size_t linesAfter)
{
    std::string_view name, value;
    if (sectionName(line, name)) {
        m_sectionIndex.emplace(fold(name), m_sections.size());
        Section &section = m_sections.emplace_back();
        section.hasHeader = true;
        section.header = std::move(line);
        section.lines.reserve(linesAfter);
        section.keys.reserve(linesAfter);
        return;
    }
    Section &section = m_sections.back();
    section.lines.push_back(std::move(line));
    if (section.hasHeader && keyLine(section.lines.back(), name, value))
        section.keys.add(section.lines.size() - 1, section.lines);
}

void ProfileFile::reindexSections()
{
    m_sectionIndex.clear();
    std::string_view name;
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (m_sections[i].hasHeader && sectionName(m_sections[i].header, name))
            m_sectionIndex.emplace(fold(name), i);
}

const ProfileFile::Section *ProfileFile::findSection(std::string_view section) const
{
    const auto it = m_sectionIndex.find(fold(section));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const std::string *ProfileFile::findValueText(std::string_view section, std::string_view key) const
{
    const Section *found = findSection(section);
    if (!found)
        return nullptr;
    const long line = found->keys.find(key, found->lines);
    return line < 0 ? nullptr : &found->lines[static_cast<size_t>(line)];
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const
{
    const std::string *line = findValueText(section, key);
    if (!line)
        return std::string(defaultValue);
    std::string_view name, value;
    keyLine(*line, name, value);
    return valueOf(value);
}

std::optional<std::string> ProfileFile::ReadIfPresent(std::string_view section,
                                                      std::string_view key) const
{
    const std::string *line = findValueText(section, key);
    if (!line)
        return std::nullopt;
    std::string_view name, value;
    keyLine(*line, name, value);
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
    return findValueText(section, key) != nullptr;
}

bool ProfileFile::FitsOnOneLine(std::string_view value)
{
    return value.find_first_of("\r\n") == std::string_view::npos;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value)
{
    if (!FitsOnOneLine(value))
        throw EWriteError(m_path + ": a value holds a line break");
    std::string line = std::string(key) + "=" + std::string(value);
    const Section *found = findSection(section);
    if (!found) {
        m_sectionIndex.emplace(fold(section), m_sections.size());
        Section &added = m_sections.emplace_back();
        added.hasHeader = true;
        added.header = "[" + std::string(section) + "]";
        found = &added;
    }
    Section &target = m_sections[static_cast<size_t>(found - m_sections.data())];
    const long existing = target.keys.find(key, target.lines);
    if (existing >= 0) {
        target.lines[static_cast<size_t>(existing)] = std::move(line);
        return;
    }
    // A new key goes behind the last non-blank line of its section, so that
    // blank lines that part it from the next section stay where they are.
    size_t insertAt = target.lines.size();
    while (insertAt > 0 && trimBlanks(target.lines[insertAt - 1]).empty())
        --insertAt;
    // Only blank lines follow insertAt, and blank lines are no keys: the lines
    // the index knows keep their places.
    target.lines.insert(target.lines.begin() + static_cast<long>(insertAt), std::move(line));
    target.keys.add(insertAt, target.lines);
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
    const std::string name = fold(section);
    std::string_view header;
    std::erase_if(m_sections, [&](const Section &s) {
        return s.hasHeader && sectionName(s.header, header) && fold(header) == name;
    });
    reindexSections();
}

void ProfileFile::Clear()
{
    m_sections.clear();
    m_sections.emplace_back();
    m_sectionIndex.clear();
    m_byteOrderMark = false;
}

std::string ProfileFile::Text() const
{
    std::string text(m_byteOrderMark ? ByteOrderMark : std::string_view());
    for (const Section &section : m_sections) {
        if (section.hasHeader)
            text += section.header + "\r\n";
        for (const std::string &line : section.lines) {
            text += line;
            text += "\r\n";
        }
    }
    return text;
}

void ProfileFile::Save() const
{
    WriteFileAtomically(m_path, Text());
}

} // namespace orvane
