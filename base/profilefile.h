#pragma once

#include "base/profilekeyindex.h"
#include <optional>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

/// An INI ("profile") file held in memory, read and written with the classic
/// profile conventions:
/// - section and key names are found without regard to letter case (ASCII);
///   of duplicate sections or keys the first one counts;
/// - a value is the text after the first "=", with surrounding blanks trimmed
///   and one pair of enclosing double or single quotes removed; at most
///   MaxValueLength bytes of it are returned;
/// - a UTF-8 byte-order mark at the start is skipped on reading and written
///   back by Save() (Clear() drops it);
/// - lines may end in CR LF or LF; lines that are neither section headers nor
///   key lines are kept as they are;
/// - writing changes the one key line (or adds the key at the end of its
///   section, or adds the section at the end of the file) and leaves every other
///   line as it was; Save() writes CR LF line ends.
/// Save() writes the whole text to a temporary file in the same folder and
/// renames it over the old file, so a failed write leaves the old file intact.
class ProfileFile
{
public:
    static constexpr size_t MaxValueLength = 2047;

    /// Reads path when it exists; a missing or unreadable file reads as empty,
    /// and so does anything but a regular file (a FIFO, a device, a folder),
    /// which is never waited for nor read.
    explicit ProfileFile(std::string path);

    const std::string &path() const { return m_path; }

    /// The value of key in section, or defaultValue when either is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    /// An integer value: leading blanks skipped, decimal with optional sign, or
    /// hexadecimal behind "$", "0x" or "0X". Anything else gives defaultValue.
    long ReadInteger(std::string_view section, std::string_view key, long defaultValue) const;
    /// A boolean stored as an integer: true when not 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool KeyExists(std::string_view section, std::string_view key) const;
    /// The value of key in section, or none when either is missing: one
    /// look-up where KeyExists and ReadString would take two.
    std::optional<std::string> ReadIfPresent(std::string_view section, std::string_view key) const;

    /// Whether value can be stored: a CR or LF in it would end its line, and
    /// the rest would read back as other lines, other keys or even sections.
    static bool FitsOnOneLine(std::string_view value);

    /// Changes the text in memory; nothing reaches the disk before Save().
    /// A value that does not fit on one line is refused with EWriteError and
    /// nothing changes.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, long value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    /// Removes every line of a section, header included.
    void EraseSection(std::string_view section);
    /// Forgets every line, so that Save() writes only what is written after.
    void Clear();

    /// Writes the file atomically; throws EWriteError on failure.
    void Save() const;

    /// The whole text as Save() would write it.
    std::string Text() const;

private:
    // Lines before the first section header form a section without a header.
    struct Section
    {
        bool hasHeader = false;
        std::string header;
        std::vector<std::string> lines;
        ProfileKeyIndex keys{&KeyOfLine};
    };

    static std::string_view KeyOfLine(std::string_view line);

    static constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

    std::string m_path;
    bool m_byteOrderMark = false;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // folded name -> first section

    const Section *findSection(std::string_view section) const;
    const std::string *findValueText(std::string_view section, std::string_view key) const;
    void addLine(std::string line, size_t linesAfter);
    void reindexSections();
};

} // namespace orvane
