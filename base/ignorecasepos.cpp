#include "base/ignorecasepos.h"

#include "base/strutil.h"

#include <vector>

namespace orvane {

namespace {

/// Border table of the folded pattern (Knuth-Morris-Pratt), so a search costs
/// one pass over the text whatever the pattern looks like.
std::vector<size_t> borders(std::string_view folded)
{
    std::vector<size_t> fail(folded.size() + 1, 0);
    size_t k = 0;
    for (size_t i = 1; i < folded.size(); ++i) {
        while (k > 0 && folded[i] != folded[k])
            k = fail[k];
        if (folded[i] == folded[k])
            ++k;
        fail[i + 1] = k;
    }
    return fail;
}

} // namespace

size_t IgnoreCasePos(std::string_view pattern, std::string_view text)
{
    if (pattern.empty() || text.size() < pattern.size())
        return 0;
    // Folding is the program's one byte-wise upper-casing: UTF-8 multi-byte
    // characters hold no byte in a-z, so they are compared as they stand.
    const std::string folded = AsciiUpper(pattern);
    const std::vector<size_t> fail = borders(folded);
    const size_t m = folded.size();
    size_t k = 0;
    // The text ends at its first NUL. That byte is met while matching rather
    // than looked for beforehand, so that a caller searching on and on in a long
    // text pays only for the bytes up to each match.
    for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        const char c = asciiUpper(text[i]);
        while (k > 0 && c != folded[k])
            k = fail[k];
        if (c == folded[k])
            ++k;
        if (k == m)
            return i + 2 - m;
    }
    return 0;
}

} // namespace orvane
