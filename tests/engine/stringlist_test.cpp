#include "engine/stringlist.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace orvane
