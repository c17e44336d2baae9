#include "base/textcodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace orvane;

namespace {

struct Utf8Case
{
    const char *name;
    std::string bytes;
    bool valid;
};

/// Shift-JIS lead bytes, written out apart from the code under test.
bool sjisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

/// Whether byte i is the second byte of a pair, reading pairs from the start.
bool sjisTrailByScan(const std::string &s, size_t i)
{
    size_t j = 0;
    while (j < i)
        j += sjisLead(static_cast<unsigned char>(s[j])) ? 2 : 1;
    return j > i;
}

const std::string Replacement = "\xEF\xBF\xBD";

} // namespace

TEST(TextCodec, Utf8ValidityIsStrict)
{
    const std::vector<Utf8Case> cases = {
        {"empty", "", true},
        {"ascii", "<a href=\"x.html\">", true},
        {"nul is a character", std::string("a\0b", 3), true},
        {"two bytes", "caf\xC3\xA9", true},
        {"three bytes", "\xE3\x81\x82\xE3\x81\x84", true},
        {"four bytes", "\xF0\x9F\x98\x80", true},
        {"smallest three-byte", "\xE0\xA0\x80", true},
        {"smallest four-byte", "\xF0\x90\x80\x80", true},
        {"last code point", "\xF4\x8F\xBF\xBF", true},
        {"before surrogates", "\xED\x9F\xBF", true},
        {"overlong slash C0", "\xC0\xAF", false},
        {"overlong C1", "\xC1\xBF", false},
        {"overlong three-byte", "\xE0\x9F\xBF", false},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"FF byte", "\xFF", false},
        {"lone continuation", "a\x80", false},
        {"cut three-byte", "\xE3\x81", false},
        {"cut after long ascii run", "abcdefghijklmnop\xE3\x81", false},
        {"bad byte right after eight ascii", "abcdefgh\x80", false},
        {"missing continuation", "\xE3\x41\x82", false},
        {"shift-jis a", "\x82\xA0", false},
        {"shift-jis kanji", "<p>\x88\x9F</p>", false},
    };
    for (const Utf8Case &c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.name;
}

TEST(TextCodec, DecodeLeavesUtf8AsItIs)
{
    const std::string text = "\xE3\x81\x82\xE3\x81\x84 index.html \xF0\x9F\x98\x80";
    EXPECT_EQ(DecodeForDisplay(text), text);
    EXPECT_EQ(DecodeForDisplay(""), "");
}

TEST(TextCodec, DecodeReadsOtherTextAsShiftJis)
{
    // あ, a backslash (not a yen sign), the circled one of the vendor rows and a
    // half-width katakana.
    EXPECT_EQ(DecodeForDisplay("\x82\xA0"), "\xE3\x81\x82");
    EXPECT_EQ(DecodeForDisplay("a\\b\x87\x40\xB1"), "a\\b\xE2\x91\xA0\xEF\xBD\xB1");
    EXPECT_EQ(DecodeForDisplay("<title>\x88\x9F</title>"), "<title>\xE4\xBA\x9C</title>");
}

TEST(TextCodec, DecodeReplacesUndecodableBytesAndGoesOn)
{
    EXPECT_EQ(DecodeForDisplay("\x80"
                               "A"),
              Replacement + "A");
    // A lead byte before a line feed: the line feed must survive.
    EXPECT_EQ(DecodeForDisplay("x\x82\ny"), "x" + Replacement + "\ny");
    EXPECT_EQ(DecodeForDisplay("\x82\xA0\x82"), "\xE3\x81\x82" + Replacement);
    EXPECT_EQ(DecodeForDisplay("\xFD\xFE\xFF"), Replacement + Replacement + Replacement);

    // Far more replacement characters than input bytes would fit at one byte each.
    const std::string bad(5000, '\x80');
    std::string expected;
    for (int i = 0; i < 5000; ++i)
        expected += Replacement;
    EXPECT_EQ(DecodeForDisplay(bad + "\xB1"), expected + "\xEF\xBD\xB1");
}

TEST(TextCodec, DecodeWorksOnSeveralThreads)
{
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&results, t] {
            std::string out;
            for (int i = 0; i < 200; ++i)
                out = DecodeForDisplay("\x82\xA0\x80\xB1");
            results[t] = out;
        });
    }
    for (std::thread &th : threads)
        th.join();
    for (const std::string &r : results)
        EXPECT_EQ(r, "\xE3\x81\x82" + Replacement + "\xEF\xBD\xB1");
}

TEST(TextCodec, ShiftJisBytesAreClassifiedByPosition)
{
    // あ, "A", 亜 twice (its second byte 0x9F is itself in the lead range), ァ
    // (second byte '@').
    const std::string text = "\x82\xA0"
                             "A"
                             "\x88\x9F\x88\x9F"
                             "\x83\x40";
    const std::vector<std::pair<bool, bool>> leadTrail = {
        {true, false}, {false, true}, {false, false}, {true, false}, {false, true},
        {true, false}, {false, true}, {true, false},  {false, true},
    };
    ASSERT_EQ(leadTrail.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        EXPECT_EQ(IsLeadByte(text, i, false), leadTrail[i].first) << i;
        EXPECT_EQ(IsTrailByte(text, i, false), leadTrail[i].second) << i;
    }
    EXPECT_FALSE(IsLeadByte(text, text.size(), false));
    EXPECT_FALSE(IsTrailByte(text, text.size(), false));
    // A lead byte at the very end still counts as one.
    EXPECT_TRUE(IsLeadByte("ab\x82", 2, false));
}

TEST(TextCodec, ShiftJisClassificationMatchesScanFromStart)
{
    std::mt19937 rng(20240611);
    const unsigned char alphabet[] = {'a', '@', 0x40, 0x82, 0x88, 0x9F, 0xA0, 0xE0, 0xFC, 0xFD};
    for (int round = 0; round < 500; ++round) {
        std::string s;
        const size_t len = rng() % 24;
        for (size_t k = 0; k < len; ++k)
            s += static_cast<char>(alphabet[rng() % sizeof alphabet]);
        for (size_t i = 0; i < s.size(); ++i) {
            const bool trail = sjisTrailByScan(s, i);
            ASSERT_EQ(IsTrailByte(s, i, false), trail) << round << " at " << i;
            ASSERT_EQ(IsLeadByte(s, i, false), !trail && sjisLead(static_cast<unsigned char>(s[i])))
                << round << " at " << i;
        }
    }
}

TEST(TextCodec, Utf8BytesFollowSequenceBoundaries)
{
    // "a", é, あ, 😀.
    const std::string text = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80";
    const std::string kinds = "sLtLttLttt"; // single, lead, trail
    ASSERT_EQ(kinds.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        EXPECT_EQ(IsLeadByte(text, i, true), kinds[i] == 'L') << i;
        EXPECT_EQ(IsTrailByte(text, i, true), kinds[i] == 't') << i;
    }
    // The same bytes read as Shift-JIS pair up differently.
    EXPECT_FALSE(IsTrailByte(text, 5, false));
    EXPECT_TRUE(IsTrailByte(text, 4, false));
}
