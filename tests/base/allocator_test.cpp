#include "base/allocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace orvane {
namespace {

#ifdef ORVANE_EXPECT_MIMALLOC

TEST(Allocator, MallocIsMimallocsAndNewThrowsWhenMemoryRunsOut)
{
    // Linked in but not first in line, mimalloc would sit unused beside the
    // C library's malloc.
    EXPECT_TRUE(UsesMimalloc());
    std::vector<std::string> texts(10000, std::string(300, 'x'));
    EXPECT_EQ(texts.back().size(), 300u);

    // Memory that cannot be had is an exception, not the end of the program.
    volatile std::size_t tooMuch = std::size_t{1} << 62;
    EXPECT_THROW(delete[] new char[tooMuch], std::bad_alloc);
    EXPECT_EQ(new (std::nothrow) char[tooMuch], nullptr);
    EXPECT_THROW(::operator delete(::operator new (tooMuch, std::align_val_t{64})), std::bad_alloc);
}

#else

TEST(Allocator, WithoutMimallocTheCLibraryServes)
{
    EXPECT_FALSE(UsesMimalloc());
}

#endif

} // namespace
} // namespace orvane
