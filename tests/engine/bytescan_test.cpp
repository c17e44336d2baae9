#include "engine/bytescan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace orvane {
namespace {

/// A text over a few bytes, so that hits and near misses are dense.
std::string randomText(std::mt19937 &random, size_t length)
{
    static const char bytes[] = {'\n', '\r', ' ', 'i', 'I', 'd', 'D', 'x', '\t'};
    std::string text(length, ' ');
    for (char &c : text)
        c = bytes[random() % sizeof(bytes)];
    return text;
}

TEST(ByteScan, CountOfMatchesCountingOneByOne)
{
    std::mt19937 random(11);
    // Lengths around the sixteen-byte blocks and the runs of 255 blocks.
    for (const size_t length : {0u, 1u, 15u, 16u, 17u, 4079u, 4080u, 4097u, 20000u}) {
        const std::string text = randomText(random, length);
        for (int round = 0; round < 20; ++round) {
            const size_t from = length == 0 ? 0 : random() % length;
            const size_t to = from + (length == from ? 0 : random() % (length - from + 1));
            EXPECT_EQ(CountOf(text, from, to, '\n'),
                      static_cast<size_t>(std::count(text.begin() + from, text.begin() + to, '\n')))
                << length << " " << from << " " << to;
        }
        EXPECT_EQ(CountOf(text, 0, length, 'x'),
                  static_cast<size_t>(std::count(text.begin(), text.end(), 'x')));
    }
    EXPECT_EQ(CountOf(std::string(5000, '\n'), 0, 5000, '\n'), 5000u) << "more than 255 a lane";
}

TEST(ByteScan, ForEachOpeningTagMatchesLookingAtEveryPlace)
{
    // "<" and "/" dense, across the blocks of sixteen and sixty-four bytes
    // and at the very end.
    std::mt19937 random(14);
    const char bytes[] = {'<', '/', 'a', '>'};
    for (const size_t length : {0u, 1u, 2u, 15u, 16u, 17u, 18u, 33u, 64u, 65u, 66u, 129u, 1000u}) {
        for (int round = 0; round < 50; ++round) {
            std::string text(length, ' ');
            for (char &c : text)
                c = bytes[random() % sizeof(bytes)];
            std::vector<size_t> expected;
            for (size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '<' && (i + 1 == text.size() || text[i + 1] != '/'))
                    expected.push_back(i);
            }
            std::vector<size_t> found;
            ForEachOpeningTag(text, [&found](size_t i) {
                found.push_back(i);
                return true;
            });
            ASSERT_EQ(found, expected) << text;
            // Stops at the first visit that says so.
            if (expected.size() > 1) {
                size_t visits = 0;
                ForEachOpeningTag(text, [&](size_t) { return ++visits < 2; });
                EXPECT_EQ(visits, 2u);
            }
        }
    }
}

TEST(ByteScan, ForEachBlankThenPairMatchesLookingAtEveryPlace)
{
    std::mt19937 random(12);
    for (const size_t length : {0u, 1u, 2u, 3u, 16u, 17u, 18u, 33u, 1000u}) {
        for (int round = 0; round < 50; ++round) {
            const std::string text = randomText(random, length);
            std::vector<size_t> expected;
            for (size_t i = 1; i + 1 < text.size(); ++i) {
                const char b = text[i - 1];
                if ((b == ' ' || b == '\r' || b == '\n') && (text[i] == 'i' || text[i] == 'I') &&
                    (text[i + 1] == 'd' || text[i + 1] == 'D'))
                    expected.push_back(i);
            }
            std::vector<size_t> found;
            ForEachBlankThenPair(text, 'I', 'D', [&found](size_t i) {
                found.push_back(i);
                return true;
            });
            ASSERT_EQ(found, expected) << text;
        }
    }
}

TEST(ByteScan, FindMarkerMatchesTheLibrarySearch)
{
    std::mt19937 random(13);
    const std::string markers[] = {"<!--", "-->", "id", "II"};
    for (const size_t length : {0u, 1u, 3u, 4u, 16u, 17u, 19u, 20u, 33u, 200u}) {
        for (int round = 0; round < 40; ++round) {
            std::string text(length, ' ');
            // Markers cut up and whole, so that partial hits meet block edges.
            static const char bytes[] = {'<', '!', '-', '>', 'i', 'd', 'I', ' '};
            for (char &c : text)
                c = bytes[random() % sizeof(bytes)];
            for (const std::string &marker : markers) {
                for (size_t from = 0; from <= length + 1; ++from) {
                    ASSERT_EQ(FindMarker(text, marker, from),
                              std::string_view(text).find(marker, from))
                        << text << " " << marker << " " << from;
                }
            }
        }
    }
}

} // namespace
} // namespace orvane
