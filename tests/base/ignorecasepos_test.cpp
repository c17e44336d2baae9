#include "base/ignorecasepos.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace orvane;

namespace {

struct PosCase
{
    const char *name;
    std::string pattern, text;
    size_t expected;
};

char fold(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

/// The search as a plain double loop over the text up to its first NUL.
size_t literalIgnoreCasePos(const std::string &pattern, const std::string &text)
{
    const std::string t = text.substr(0, text.find('\0'));
    if (pattern.empty() || t.empty())
        return 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (fold(t[i]) != fold(pattern[0]))
            continue;
        if (t.size() - i < pattern.size())
            return 0;
        size_t k = 0;
        while (k < pattern.size() && fold(t[i + k]) == fold(pattern[k]))
            ++k;
        if (k == pattern.size())
            return i + 1;
    }
    return 0;
}

} // namespace

TEST(IgnoreCasePos, FindsFirstMatchFoldingAsciiLetters)
{
    using namespace std::string_literals;
    const std::vector<PosCase> cases = {
        {"upper finds lower", "INDEX.HTML", "<a href=\"index.html\">", 10},
        {"lower finds upper", "index.html", "<A HREF=\"INDEX.HTML\">", 10},
        {"mixed", "InDeX", "xxiNdEx", 3},
        {"first of several", "ab", "xABab", 2},
        {"at start", "a", "Abc", 1},
        {"at end", "bc", "aBC", 2},
        {"whole text", "abc", "ABC", 1},
        {"none", "abd", "abcabc", 0},
        {"empty pattern", "", "abc", 0},
        {"empty text", "a", "", 0},
        {"pattern longer than text", "abcd", "abc", 0},
        {"first byte near the end, too few bytes", "ab", "xa", 0},
        {"restart inside a partial match", "aab", "aaab", 2},
        {"border of the pattern", "ababc", "abababc", 3},
        {"text ends at NUL", "b", "a\0b"s, 0},
        {"match up to NUL", "a", "xa\0"s, 2},
        {"leading NUL", "a", "\0a"s, 0},
        {"NUL in pattern never matches", "a\0b"s, "a\0b"s, 0},
        {"only a-z fold: [ and {", "[", "{", 0},
        {"only a-z fold: @ and `", "@", "`", 0},
        {"only a-z fold: ^ and ~", "~", "^", 0},
        {"full-width letters, UTF-8", "\xEF\xBD\x81", "\xEF\xBC\xA1", 0},
        {"full-width letters, Shift-JIS", "\x82\x81", "\x82\x60", 0},
        {"full-width exact", "\x82\x81", "x\x82\x81", 2},
        {"match may start on a second byte", "a", "\x83\x41", 2},
        {"e-acute not folded", "\xC3\xA9", "\xC3\x89", 0},
    };
    for (const PosCase &c : cases)
        EXPECT_EQ(IgnoreCasePos(c.pattern, c.text), c.expected) << c.name;
}

TEST(IgnoreCasePos, AgreesWithLiteralSearch)
{
    std::mt19937 rng(1234);
    const std::string alphabet("aAbB[{\0", 7);
    for (int round = 0; round < 30000; ++round) {
        std::string pattern, text;
        const size_t plen = rng() % 5, tlen = rng() % 20;
        for (size_t i = 0; i < plen; ++i)
            pattern += alphabet[rng() % 6];
        for (size_t i = 0; i < tlen; ++i)
            text += alphabet[rng() % alphabet.size()];
        ASSERT_EQ(IgnoreCasePos(pattern, text), literalIgnoreCasePos(pattern, text))
            << pattern << " in " << text;
    }
}
