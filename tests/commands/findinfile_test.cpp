#include "commands/findinfile.h"

#include "base/textcodec.h"
#include "engine/readfileall.h"
#include "support/recordinghost.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace orvane;
using orvane::test::RecordingHost;
using orvane::test::TempDir;

namespace {

using Pairs = std::vector<std::string>;

struct SnippetCase
{
    const char *name;
    std::string content;
    int before, after;
    std::string snippet;
};

Pairs find(const std::string &content, const std::string &text, int before = 2, int after = 7,
           bool ignoreCase = false)
{
    TempDir dir;
    RecordingHost host;
    const Pairs pairs =
        FindStringInFile(dir.write("page.html", content), text, before, after, ignoreCase, host);
    EXPECT_TRUE(host.messages.empty());
    return pairs;
}

// The search as described, step by step: the content is cut after every
// occurrence and each byte's kind is found by reading from the start.

unsigned char byte(const std::string &s, size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

bool sjisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool literalTrail(const std::string &s, size_t i, bool utf8)
{
    if (utf8)
        return (byte(s, i) & 0xC0) == 0x80;
    size_t j = 0;
    while (j < i)
        j += sjisLead(byte(s, j)) ? 2 : 1;
    return j > i;
}

std::string literalNormalise(const std::string &in, bool utf8)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '\r') {
            out += "\r\n";
            if (i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
        } else if (in[i] == '\n') {
            out += "\r\n";
        } else if (!utf8 && sjisLead(byte(in, i)) && i + 1 < in.size()) {
            out += in[i];
            out += in[++i];
        } else {
            out += in[i];
        }
    }
    return out;
}

char fold(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

size_t literalPos(const std::string &text, const std::string &content, bool ignoreCase)
{
    if (text.empty())
        return 0;
    for (size_t i = 0; i + text.size() <= content.size(); ++i) {
        size_t k = 0;
        while (k < text.size() &&
               (ignoreCase ? fold(content[i + k]) == fold(text[k]) : content[i + k] == text[k]))
            ++k;
        if (k == text.size())
            return i + 1;
    }
    return 0;
}

std::string literalCutEnd(std::string s, bool utf8)
{
    if (s.empty())
        return s;
    if (!utf8) {
        const size_t last = s.size() - 1;
        if (sjisLead(byte(s, last)) && !literalTrail(s, last, false))
            s.pop_back();
        return s;
    }
    size_t j = 0;
    while (j < s.size()) {
        const unsigned char c = byte(s, j);
        const size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (j + len > s.size()) {
            s.resize(j);
            break;
        }
        j += len;
    }
    return s;
}

Pairs literalFind(const std::string &raw, const std::string &text, int before, int after,
                  bool ignoreCase)
{
    const bool utf8 = IsValidUtf8(raw);
    std::string content = literalNormalise(raw, utf8);
    Pairs result;
    long breaks = 0;
    size_t pos = literalPos(text, content, ignoreCase);
    while (pos != 0) {
        breaks += std::count(content.begin(), content.begin() + (pos - 1), '\r');
        long from = static_cast<long>(pos) - before;
        if (from < 1)
            from = 1;
        if (utf8) {
            while (from <= static_cast<long>(content.size()) &&
                   literalTrail(content, from - 1, true))
                ++from;
        } else if (literalTrail(content, from - 1, false)) {
            ++from;
        }
        std::string snippet;
        if (from - 1 < static_cast<long>(content.size()))
            snippet = content.substr(from - 1, text.size() + before + after);
        result.push_back(std::to_string(breaks + 1));
        result.push_back(literalCutEnd(snippet, utf8));
        content.erase(0, pos + text.size() - 1);
        pos = literalPos(text, content, ignoreCase);
    }
    return result;
}

std::string randomPieces(std::mt19937 &rng, const std::vector<std::string> &pieces, size_t max)
{
    std::string s;
    const size_t n = rng() % (max + 1);
    for (size_t i = 0; i < n; ++i)
        s += pieces[rng() % pieces.size()];
    return s;
}

} // namespace

TEST(FindStringInFile, ThreeOccurrencesGiveThreePairsInFileOrder)
{
    const std::string link = "<a href=\"x.html\">";
    const Pairs pairs = find(link + "\n<p>\n" + link + "\r\n\r" + link, "x.html");
    const Pairs expected = {"1", "=\"x.html\">\r\n<p>", "3", "=\"x.html\">\r\n\r\n<",
                            "5", "=\"x.html\">"};
    EXPECT_EQ(pairs, expected);
}

TEST(FindStringInFile, EveryKindOfLineBreakCountsOnce)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"X", "1"},       {"\r\nX", "2"},        {"\rX", "2"},
        {"\nX", "2"},     {"a\r\nb\rc\nX", "4"}, {"a\n\rX", "3"},
        {"\r\n\nX", "3"}, {"\r\r\r\nX", "4"},    {"\n\n\nX", "4"},
    };
    for (const auto &[content, line] : cases) {
        const Pairs pairs = find(content, "X", 0, 0);
        ASSERT_EQ(pairs.size(), 2u) << content;
        EXPECT_EQ(pairs[0], line) << content;
        EXPECT_EQ(pairs[1], "X") << content;
    }
}

TEST(FindStringInFile, IgnoreCaseFoldsAsciiLettersOnly)
{
    const std::string page = "<A HREF=\"INDEX.HTML\">";
    EXPECT_EQ(find(page, "index.html", 2, 7, true), (Pairs{"1", "=\"INDEX.HTML\">"}));
    EXPECT_TRUE(find(page, "index.html", 2, 7, false).empty());
    // Full-width ＩＮＤＥＸ against ｉｎｄｅｘ, in UTF-8 and in Shift-JIS.
    EXPECT_TRUE(find("\xEF\xBC\xA9\xEF\xBC\xAE", "\xEF\xBD\x89\xEF\xBD\x8E", 2, 7, true).empty());
    EXPECT_TRUE(find("\x82\x68\x82\x6D", "\x82\x89\x82\x8E", 2, 7, true).empty());
}

TEST(FindStringInFile, SnippetsKeepDoubleByteCharactersWhole)
{
    const std::string sjis = "\x82\xA0\x82\xA2X\x82\xA4\x82\xA6"; // あいXうえ
    const std::string kanji = "\x88\x9F\x88\x9FX";                // 亜亜X
    const std::string utf8 = "\xE3\x81\x82\xE3\x81\x84X\xE3\x81\x86\xE3\x81\x88";
    const std::vector<SnippetCase> cases = {
        {"sjis start on second byte", sjis, 1, 1, "X\x82\xA4"},
        {"sjis end on first byte", sjis, 1, 2, "X\x82\xA4"},
        {"sjis start on first byte", sjis, 2, 0, "\x82\xA2X"},
        {"sjis both", sjis, 3, 0, "\x82\xA2X"},
        {"sjis second byte in lead range", kanji, 1, 0, "X"},
        {"sjis whole kanji", kanji, 2, 0, "\x88\x9FX"},
        {"utf8 start two bytes in", utf8, 2, 0, "X"},
        {"utf8 start on lead", utf8, 3, 0, "\xE3\x81\x84X"},
        {"utf8 cut after two bytes", utf8, 0, 2, "X"},
        {"utf8 whole", utf8, 0, 3, "X\xE3\x81\x86"},
        {"utf8 cut in second", utf8, 0, 5, "X\xE3\x81\x86"},
        {"utf8 both whole", utf8, 0, 6, "X\xE3\x81\x86\xE3\x81\x88"},
        {"utf8 four-byte cut", "X\xF0\x9F\x98\x80", 0, 3, "X"},
        {"utf8 four-byte whole", "X\xF0\x9F\x98\x80", 0, 4, "X\xF0\x9F\x98\x80"},
        {"utf8 lone lead at end", "X\xC3\xA9", 0, 1, "X"},
    };
    for (const SnippetCase &c : cases) {
        const Pairs pairs = find(c.content, "X", c.before, c.after);
        ASSERT_EQ(pairs.size(), 2u) << c.name;
        EXPECT_EQ(pairs[1], c.snippet) << c.name;
    }
}

TEST(FindStringInFile, OccurrencesDoNotOverlap)
{
    // The second snippet starts after the first occurrence, not two bytes before.
    EXPECT_EQ(find("aaaaa", "aa", 2, 2), (Pairs{"1", "aaaaa", "1", "aaa"}));
    EXPECT_EQ(find("abab\nab", "ab", 2, 0), (Pairs{"1", "abab", "1", "ab\r\n", "2", "\r\nab"}));
}

TEST(FindStringInFile, DoubleByteTestStartsAfterPreviousOccurrence)
{
    // The first occurrence ends on a lead byte; what follows is read afresh, so
    // the '@' after it opens the next snippet.
    EXPECT_EQ(find("Q\x83@Q\x83@", "Q\x83", 1, 1), (Pairs{"1", "Q\x83@Q", "1", "@Q\x83@"}));
}

TEST(FindStringInFile, NothingToFind)
{
    EXPECT_TRUE(find("<a href=\"a.html\">", "b.html").empty());
    EXPECT_TRUE(find("<a href=\"a.html\">", "").empty());
    EXPECT_TRUE(find("", "a.html").empty());
    EXPECT_TRUE(find("", "a.html", 2, 7, true).empty());
}

TEST(FindStringInFile, ReadFailuresReachTheCaller)
{
    TempDir dir;
    RecordingHost host;
    EXPECT_THROW(FindStringInFile(dir.path() + "missing.html", "a", 2, 7, false, host),
                 EOpenFailure);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("ファイルをオープンできません", 0), 0u);

    RecordingHost quiet;
    const std::string binary = dir.write("b.html", std::string(20, '\x01'));
    EXPECT_THROW(FindStringInFile(binary, "a", 2, 7, false, quiet), ENotTextFileError);
    EXPECT_TRUE(quiet.messages.empty());
}

TEST(FindStringInFile, AgreesWithLiteralSearchOnShiftJis)
{
    std::mt19937 rng(31337);
    const std::vector<std::string> pieces = {"a", "A",    "b",    "X",    "\r",   "\n",
                                             "@", "\x82", "\x88", "\x9F", "\xA0", "\x83"};
    TempDir dir;
    for (int round = 0; round < 1500; ++round) {
        const std::string raw = randomPieces(rng, pieces, 30);
        std::string text = randomPieces(rng, pieces, 3);
        if (!raw.empty() && rng() % 2) {
            const size_t at = rng() % raw.size();
            text = raw.substr(at, 1 + rng() % 3);
        }
        const int before = static_cast<int>(rng() % 4), after = static_cast<int>(rng() % 9);
        const bool ignoreCase = rng() % 2;
        RecordingHost host;
        const Pairs pairs =
            FindStringInFile(dir.write("p.html", raw), text, before, after, ignoreCase, host);
        ASSERT_EQ(pairs, literalFind(raw, text, before, after, ignoreCase)) << "round " << round;
        ASSERT_TRUE(host.messages.empty());
    }
}

TEST(FindStringInFile, AgreesWithLiteralSearchOnUtf8)
{
    std::mt19937 rng(2718);
    const std::vector<std::string> pieces = {
        "a",           "A", "b", "\r", "\n", "\r\n", "\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x98\x80",
        "\xEF\xBC\xA1"};
    TempDir dir;
    for (int round = 0; round < 1500; ++round) {
        const std::string raw = randomPieces(rng, pieces, 20);
        std::string text = randomPieces(rng, pieces, 2);
        if (!raw.empty() && rng() % 2) {
            const size_t at = rng() % raw.size();
            text = raw.substr(at, 1 + rng() % 4);
        }
        const int before = static_cast<int>(rng() % 5), after = static_cast<int>(rng() % 9);
        const bool ignoreCase = rng() % 2;
        RecordingHost host;
        const Pairs pairs =
            FindStringInFile(dir.write("p.html", raw), text, before, after, ignoreCase, host);
        ASSERT_EQ(pairs, literalFind(raw, text, before, after, ignoreCase)) << "round " << round;
        for (size_t k = 1; k < pairs.size(); k += 2)
            ASSERT_TRUE(IsValidUtf8(pairs[k])) << "round " << round;
    }
}
