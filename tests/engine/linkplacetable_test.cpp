#include "engine/linkplaces.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane {
namespace {

std::vector<LinkPlace> randomPlaces(std::mt19937 &random, size_t n, uint32_t mostLine)
{
    std::vector<uint32_t> ranks(n);
    for (size_t i = 0; i < n; ++i)
        ranks[i] = static_cast<uint32_t>(i);
    std::shuffle(ranks.begin(), ranks.end(), random);
    std::vector<LinkPlace> places(n);
    for (size_t i = 0; i < n; ++i) {
        places[i].line = 1 + random() % mostLine;
        // Mostly once, sometimes often, now and then beyond 16 bits.
        const uint32_t pick = random() % 10;
        places[i].count = pick < 7 ? 1 : pick < 9 ? 2 + random() % 50 : 70000 + random() % 9;
        places[i].order = ranks[i];
        places[i].quotedRefresh = random() % 5 == 0;
    }
    return places;
}

void expectSame(const std::vector<LinkPlace> &places, const LinkPlaceTable &table)
{
    ASSERT_EQ(table.size(), places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        ASSERT_EQ(table[i], places[i]) << "link " << i << " of " << places.size();
        ASSERT_EQ(table.QuotedRefresh(i), places[i].quotedRefresh) << "link " << i;
    }
    EXPECT_FALSE(table.QuotedRefresh(places.size())) << "beyond the table";
}

TEST(LinkPlaceTable, GivesBackEveryPlaceCompactOrWide)
{
    std::mt19937 random(11);
    expectSame({}, LinkPlaceTable(std::vector<LinkPlace>{}));
    for (const size_t n : {1u, 2u, 3u, 17u, 1000u, 65536u}) {
        const std::vector<LinkPlace> places = randomPlaces(random, n, 100000);
        expectSame(places, LinkPlaceTable(places));
    }
    // More links than two bytes rank, or a line beyond 31 bits: kept wide.
    const std::vector<LinkPlace> many = randomPlaces(random, 65537, 5);
    expectSame(many, LinkPlaceTable(many));
    std::vector<LinkPlace> far = randomPlaces(random, 40, 100);
    far[7].line = 0x80000001u;
    expectSame(far, LinkPlaceTable(far));
}

TEST(LinkPlaceTable, HoldsAPageOfSingleLinksInSixBytesALink)
{
    std::vector<LinkPlace> places(1000);
    for (uint32_t i = 0; i < places.size(); ++i)
        places[i] = {i + 1, 1, 999 - i, 0};
    const LinkPlaceTable table(places);
    EXPECT_LE(table.MemoryUsed(), 6 * places.size() + 4) << "and one word for the number";
    expectSame(places, table);
}

} // namespace
} // namespace orvane
