#include "base/replaceall.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace orvane;

namespace {

/// The replacement done the plain way, one search, erase and insert at a time.
std::string literalReplaceAll(std::string text, const std::string &pattern,
                              const std::string &replacement)
{
    if (pattern == replacement || text.empty() || pattern.empty())
        return text;
    size_t end = text.find('\0');
    if (end == std::string::npos)
        end = text.size();
    auto next = [&](size_t from) {
        const size_t at = text.find(pattern, from);
        return at != std::string::npos && at + pattern.size() <= end ? at : std::string::npos;
    };
    size_t at = next(0);
    while (at != std::string::npos) {
        if (pattern.size() == replacement.size()) {
            text.replace(at, pattern.size(), replacement);
            at = next(at);
        } else {
            text.erase(at, pattern.size());
            text.insert(at, replacement);
            end = end + replacement.size() - pattern.size();
            at = next(at + replacement.size());
        }
    }
    return text;
}

struct ReplaceCase
{
    const char *name;
    std::string text, pattern, replacement, expected;
};

std::string randomText(std::mt19937 &rng, const std::string &alphabet, size_t maxLen)
{
    std::string s;
    const size_t len = rng() % (maxLen + 1);
    for (size_t i = 0; i < len; ++i)
        s += alphabet[rng() % alphabet.size()];
    return s;
}

} // namespace

TEST(ReplaceAll, ReplacesAsDescribed)
{
    using namespace std::string_literals;
    const std::vector<ReplaceCase> cases = {
        {"overwrite finds a match inside written bytes", "aaa", "aa", "ba", "bba"},
        {"longer replacement", "aXbXc", "X", "YY", "aYYbYYc"},
        {"inserted text is not searched again", "aa", "a", "aa", "aaaa"},
        {"shorter replacement", "xabyabz", "ab", "c", "xcycz"},
        {"deletion", "aXbXXc", "X", "", "abc"},
        {"leftmost occurrences, no overlap", "aaaa", "aa", "b", "bb"},
        {"overwrite chain", "aaaa", "aa", "ba", "bbba"},
        {"written bytes start a new match", "abb", "ab", "xa", "xxa"},
        {"template", "/j%N %F", "%N", "12", "/j12 %F"},
        {"path twice", "%F %F", "%F", "/site/a b.html", "/site/a b.html /site/a b.html"},
        {"pattern equals replacement", "abc", "b", "b", "abc"},
        {"empty text", "", "a", "b", ""},
        {"empty pattern", "abc", "", "x", "abc"},
        {"no occurrence", "abc", "d", "e", "abc"},
        {"pattern longer than text", "ab", "abc", "x", "ab"},
        {"search ends at NUL, tail kept", "aXb\0Xc"s, "X", "Y", "aYb\0Xc"s},
        {"growing, tail kept", "aXb\0X"s, "X", "YY", "aYYb\0X"s},
        {"leading NUL", "\0X"s, "X", "Y", "\0X"s},
        {"occurrence running into NUL", "aX\0Y"s, "X\0Y"s, "Z", "aX\0Y"s},
        {"double-byte bytes replaced as bytes", "\x82\xA0\x82\xA0", "\xA0\x82", "zz", "\x82zz\xA0"},
    };
    for (const ReplaceCase &c : cases)
        EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected) << c.name;
}

TEST(ReplaceAll, OverwriteChainAcrossLongPattern)
{
    // Every write leaves a run of the pattern starting one byte further on, so
    // each of the first n + 1 positions is written once.
    const size_t n = 20000;
    const std::string text(2 * n, 'a');
    const std::string pattern(n, 'a');
    const std::string replacement = "b" + std::string(n - 1, 'a');
    EXPECT_EQ(ReplaceAll(text, pattern, replacement),
              std::string(n + 1, 'b') + std::string(n - 1, 'a'));
}

TEST(ReplaceAll, AgreesWithLiteralReplacement)
{
    std::mt19937 rng(4711);
    const std::string alphabet("aab\0"
                               "c",
                               5);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = randomText(rng, alphabet, 24);
        const std::string pattern = randomText(rng, "aab", 4);
        const std::string replacement = randomText(rng, alphabet, 4);
        ASSERT_EQ(ReplaceAll(text, pattern, replacement),
                  literalReplaceAll(text, pattern, replacement))
            << "round " << round;
    }
}

TEST(ReplaceAll, SameLengthAgreesWithLiteralReplacement)
{
    // Small alphabets and equal lengths make chains of overlapping writes likely.
    std::mt19937 rng(99);
    for (int round = 0; round < 20000; ++round) {
        const size_t len = 1 + rng() % 5;
        std::string pattern, replacement;
        for (size_t i = 0; i < len; ++i) {
            pattern += "ab"[rng() % 2];
            replacement += "ab"[rng() % 2];
        }
        const std::string text = randomText(rng, "aab", 30);
        ASSERT_EQ(ReplaceAll(text, pattern, replacement),
                  literalReplaceAll(text, pattern, replacement))
            << text << " " << pattern << "->" << replacement;
    }
}
