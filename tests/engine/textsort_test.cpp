#include "engine/textsort.h"

#include "base/strutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace orvane {
namespace {

TEST(TextSort, OrdersAsComparingWholeTextsThenNumbers)
{
    // Few bytes, upper and lower case, bytes past ASCII and long shared
    // beginnings: texts equal without case, texts that begin others and
    // texts that part late are all frequent.
    std::mt19937 random(3);
    const std::string bytes = "aAbB/#.\xC3\xA9";
    const std::vector<std::string> stems = {"", "library/os.html#os.", "LIBRARY/OS.HTML#"};
    for (const size_t count : {0u, 1u, 2u, 15u, 16u, 17u, 40u, 300u, 5000u}) {
        std::vector<std::string> storage;
        for (size_t i = 0; i < count; ++i) {
            std::string text = stems[random() % stems.size()];
            for (size_t n = random() % 6; n > 0; --n)
                text += bytes[random() % bytes.size()];
            storage.push_back(text);
        }
        std::vector<NumberedText> texts;
        for (size_t i = 0; i < count; ++i)
            texts.push_back({storage[i], static_cast<uint32_t>(random() % 1000000)});
        std::vector<NumberedText> expected = texts;
        std::sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) {
            const int c = CompareText(a.first, b.first);
            return c < 0 || (c == 0 && a.second < b.second);
        });
        // Also when pivots that split badly soon hand over to comparing
        // whole texts, at the first byte or further on.
        for (const size_t partitions : {0u, 1u, 3u}) {
            std::vector<NumberedText> limited = texts;
            SortTextsAllowing(limited, partitions);
            ASSERT_EQ(limited, expected) << count << " texts, " << partitions << " partitions";
        }
        SortTexts(texts);
        ASSERT_EQ(texts, expected) << count << " texts";
    }
}

TEST(TextSort, ManyTextsEqualWithoutCaseGoByTheirNumbers)
{
    std::vector<std::string> storage;
    for (int i = 0; i < 200; ++i)
        storage.push_back(i % 2 ? "Page.html" : "page.HTML");
    std::vector<NumberedText> texts;
    for (size_t i = 0; i < storage.size(); ++i)
        texts.push_back({storage[i], static_cast<uint32_t>(storage.size() - i)});
    texts.push_back({"page.htm", 7});
    SortTexts(texts);
    EXPECT_EQ(texts.front(), (NumberedText{"page.htm", 7})) << "a text that begins another";
    for (size_t i = 1; i < texts.size(); ++i)
        EXPECT_EQ(texts[i].second, i) << i;
}

} // namespace
} // namespace orvane
