#include "cli/orderedwrite.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

namespace orvane::cli {
namespace {

TEST(OrderedWrite, ItemsComeOutInOrderAcrossBatches)
{
    // Several batches, items of very different lengths, and empty ones.
    for (const size_t count : {0u, 1u, 511u, 512u, 513u, 3000u}) {
        std::ostringstream out;
        WriteInOrder(out, count, [](size_t i, std::string &text) {
            if (i % 7 != 3)
                text += std::to_string(i) + std::string(i % 50, '.') + '\n';
        });
        std::string expected;
        for (size_t i = 0; i < count; ++i) {
            if (i % 7 != 3)
                expected += std::to_string(i) + std::string(i % 50, '.') + '\n';
        }
        EXPECT_EQ(out.str(), expected) << count;
    }
}

TEST(OrderedWrite, AFailingItemStopsTheWriteWithItsError)
{
    std::ostringstream out;
    EXPECT_THROW(WriteInOrder(out, 2000,
                              [](size_t i, std::string &text) {
                                  if (i == 1500)
                                      throw std::runtime_error("item");
                                  text += 'x';
                              }),
                 std::runtime_error);
    // Nothing of the failing batch is written.
    EXPECT_EQ(out.str(), std::string(1024, 'x'));
}

} // namespace
} // namespace orvane::cli
