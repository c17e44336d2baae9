#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orvane {

/// Folds a-z onto A-Z; every other byte (multi-byte characters included) stays.
/// This is the program's only upper-casing, for file names and for text.
inline constexpr char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiUpper(std::string_view text);
void AsciiUpperInPlace(std::string &text);

/// Byte-wise three-way comparison after folding a-z onto A-Z. This is the
/// collation of every case-insensitive sorted list of the program.
inline int CompareText(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    size_t i = 0;
    // Sorted link lists are full of long shared prefixes: bytes that are equal
    // are equal after folding too, so they are skipped eight at a time.
    for (; i + 8 <= n; i += 8) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y)
            break;
    }
    for (; i < n; ++i) {
        if (a[i] == b[i])
            continue;
        const auto x = static_cast<unsigned char>(asciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(asciiUpper(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
inline bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}
/// Strict weak order for sorting with CompareText.
struct TextLess
{
    bool operator()(std::string_view a, std::string_view b) const { return CompareText(a, b) < 0; }
};

/// Where the first a or b stands in text from from on, or npos. For the
/// short texts of links: find_first_of with a set of two calls memchr once
/// for every byte looked at.
inline size_t FindEither(std::string_view text, char a, char b, size_t from = 0)
{
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == a || text[i] == b)
            return i;
    }
    return std::string_view::npos;
}

inline constexpr char PathDelim = '/';

/// The file-name part: everything after the last "/" (the whole text if none).
std::string_view ExtractFileName(std::string_view path);
/// The folder part including its trailing "/" (empty if the path has none).
std::string_view ExtractFilePath(std::string_view path);
/// The extension of the file-name part: from its last "." on, the dot included;
/// empty when the name has no dot.
std::string_view ExtractFileExt(std::string_view path);
bool HasTrailingDelimiter(std::string_view path);
/// Appends "/" unless the text already ends in one. An empty text stays empty.
std::string IncludeTrailingDelimiter(std::string path);

bool StartsWith(std::string_view text, std::string_view prefix);
/// Whether prefix, upper-cased in ASCII, equals the start of text upper-cased.
bool StartsWithText(std::string_view text, std::string_view prefix);
/// Removes leading and trailing bytes with codes up to 32.
std::string TrimControl(std::string_view text);

} // namespace orvane
