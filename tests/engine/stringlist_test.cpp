#include "engine/stringlist.h"

#include "base/strutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvane {
namespace {

TEST(SortedStringList, AddAllEqualsAddingOneByOne)
{
    std::mt19937 random(3);
    const char *words[] = {"a", "A", "b", "B.html", "b.HTML", "b.html", "", "x#y", "X#Y", "a/b"};
    for (int round = 0; round < 2000; ++round) {
        SortedStringList single;
        SortedStringList bulk;
        std::vector<std::string> first;
        for (int i = random() % 4; i > 0; --i)
            first.push_back(words[random() % std::size(words)]);
        std::vector<std::string> second;
        for (int i = random() % 12; i > 0; --i)
            second.push_back(words[random() % std::size(words)]);
        for (const std::string &t : first)
            single.Add(t);
        for (const std::string &t : second)
            single.Add(t);
        bulk.AddAll(first);
        bulk.AddAll(second);
        ASSERT_EQ(bulk.items(), single.items()) << "round " << round;
    }
}

TEST(SortedStringList, FirstOfEqualTextsPointsAtTheFirstByteForByteEqual)
{
    std::mt19937 random(5);
    const char *words[] = {"a",   "A",        "",          "index.html", "index.html#x",
                           "a/b", "abcdefgh", "abcdefghi", "abcdefgh/",  "x"};
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> texts;
        for (int i = random() % 100; i > 0; --i)
            texts.push_back(words[random() % std::size(words)]);
        const std::vector<uint32_t> first =
            FirstOfEqualTexts(std::vector<std::string_view>(texts.begin(), texts.end()));
        ASSERT_EQ(first.size(), texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            const size_t expected = std::find(texts.begin(), texts.end(), texts[i]) - texts.begin();
            ASSERT_EQ(first[i], expected) << "round " << round << " text " << i;
        }
    }
}

TEST(SortedStringList, KeepsTheFirstLetterCaseAndFindsWithoutCase)
{
    SortedStringList list;
    list.AddAll({"Index.html", "about.html", "INDEX.HTML", "index.html"});
    EXPECT_EQ(list.items(), (std::vector<std::string>{"about.html", "Index.html"}));
    EXPECT_EQ(list.IndexOf("index.HTML"), 1);
    EXPECT_EQ(list.IndexOf("missing"), -1);
    EXPECT_FALSE(list.Add("INDEX.html"));
    EXPECT_TRUE(list.Add("b"));
}

TEST(SortedStringList, HoldsItsEntriesInOneBufferWithFourBytesAnEntry)
{
    std::vector<std::string> texts;
    size_t bytes = 0;
    for (int i = 0; i < 500; ++i) {
        texts.push_back("../../d" + std::to_string(i * 7919 % 1000) + "/page.html#s" +
                        std::to_string(i % 4));
        bytes += texts.back().size();
    }
    SortedStringList list;
    list.AddAll(texts);
    ASSERT_EQ(list.size(), 500u);
    EXPECT_LE(list.MemoryUsed(), bytes + 4 * texts.size() + 16);
    // Entries added one by one, at the front, the middle and the end, keep
    // their bytes and the order.
    list.Add("");
    list.Add("zzz");
    list.Add("../../d500/x.html");
    EXPECT_EQ(list[0], "");
    EXPECT_EQ(list[list.size() - 1], "zzz");
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), TextLess()));
    for (const std::string &t : texts)
        EXPECT_EQ(list[static_cast<size_t>(list.IndexOf(t))], t);
    list.Clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.IndexOf("zzz"), -1);
}

} // namespace
} // namespace orvane
