#include "project/wildcard.h"
#include "support/literal_wildcard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace orvane {
namespace {

using test::LiteralWildCardMatch;

TEST(WildCard, MatchesTheTable)
{
    const struct
    {
        const char *pattern;
        const char *text;
        bool expected;
    } cases[] = {
        {"*.bak", "a.bak", true},
        {"*.bak", ".bak", true},
        {"*.bak", "a.bak.txt", false},
        {"*.bak", "bak", false},
        {"*.*", "abc", false},
        {"*.*", "a.b", true},
        {"*", "any name", true},
        {"*", "", true},
        {"?", "a", true},
        {"??", "a", false},
        {"a?c", "ac", false},
        {"a?c", "abc", true},
        {"*?", "a", true},
        {"*?", "", false},
        {"?*", "", false},
        {"*?*", "ab", true},
        {"a*?b", "ab", false},
        {"a*?b", "axb", true},
        {"a**b", "ab", true},
        {"*.htm?", "a.html", true},
        {"*.htm?", "a.htm", false},
        {"_vti*", "_vti_cnf", true},
        {"*~", "file.htm~", true},
        {"AB", "ab", false},
        {"AB", "AB", true},
        {"", "", true},
        {"", "a", false},
        {"abc", "ab", false},
        {"ab", "abc", false},
        {"img/*.gif", "x.gif", false},
        // Two question marks for a two-byte character, one star for any of them.
        {"??.txt", "\x93\xFA.txt", true},
        {"?.txt", "\x93\xFA.txt", false},
        {"*\xFA.txt", "\x93\xFA.txt", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " / " + c.text);
        EXPECT_EQ(WildCardMatch(c.pattern, c.text), c.expected);
        EXPECT_EQ(LiteralWildCardMatch(c.pattern, c.text), c.expected);
    }
}

// Every pattern up to five bytes over {a, b, *, ?} against every text up to
// five bytes over {a, b}.
TEST(WildCard, AgreesWithLiteralMatcherOnAllShortInputs)
{
    const auto all = [](const std::string &alphabet, size_t maxLength) {
        std::vector<std::string> out{""};
        for (size_t begin = 0, length = 1; length <= maxLength; ++length) {
            const size_t end = out.size();
            for (size_t i = begin; i < end; ++i)
                for (const char c : alphabet)
                    out.push_back(out[i] + c);
            begin = end;
        }
        return out;
    };
    const std::vector<std::string> patterns = all("ab*?", 5);
    const std::vector<std::string> texts = all("ab", 5);
    int mismatches = 0;
    for (const std::string &p : patterns)
        for (const std::string &t : texts)
            if (WildCardMatch(p, t) != LiteralWildCardMatch(p, t) && ++mismatches <= 5)
                ADD_FAILURE() << "pattern \"" << p << "\" text \"" << t << "\"";
    EXPECT_EQ(mismatches, 0);
}

TEST(WildCard, AgreesWithLiteralMatcherOnRandomInputs)
{
    std::mt19937 random(20240611);
    const std::string patternBytes = "ab.\x82*?";
    const std::string textBytes = "ab.\x82";
    const auto make = [&](const std::string &bytes, size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char &c : s)
            c = bytes[random() % bytes.size()];
        return s;
    };
    int mismatches = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string p = make(patternBytes, 10);
        const std::string t = make(textBytes, 14);
        if (WildCardMatch(p, t) != LiteralWildCardMatch(p, t) && ++mismatches <= 5)
            ADD_FAILURE() << "pattern \"" << p << "\" text \"" << t << "\"";
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(WildCard, ManyStarsDoNotBacktrackWithoutEnd)
{
    // Tried position by position, this pattern needs tens of billions of attempts.
    const std::string pattern = "*a*a*a*a*a*a*a*a*a*a*b";
    const std::string text(60, 'a');
    EXPECT_FALSE(WildCardMatch(pattern, text));
    EXPECT_TRUE(WildCardMatch(pattern, text + "b"));
}

} // namespace
} // namespace orvane
