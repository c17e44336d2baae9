#include "base/allocator.h"

#include <gtest/gtest.h>

#ifdef ORVANE_EXPECT_MIMALLOC
#include <mimalloc.h>
#endif

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

TEST(Allocator, LargePagesWhereTheFirstTouchOfAPageIsSlow)
{
    const bool saved = mi_option_is_enabled(mi_option_large_os_pages);
    const char *environment = std::getenv("MIMALLOC_LARGE_OS_PAGES");
    const std::string savedEnvironment = environment ? environment : "";
    ::unsetenv("MIMALLOC_LARGE_OS_PAGES");
    int measured = 0;
    const auto touchTakes = [&](double micros) {
        return [&measured, micros] {
            ++measured;
            return micros;
        };
    };
    // Measured here: a virtual machine's trap costs several microseconds,
    // a machine's own fault well under one.
    EXPECT_TRUE(ChooseLargePages(touchTakes(15)));
    EXPECT_TRUE(mi_option_is_enabled(mi_option_large_os_pages));
    EXPECT_TRUE(ChooseLargePages(touchTakes(4)));
    EXPECT_FALSE(ChooseLargePages(touchTakes(0.5)));
    EXPECT_FALSE(mi_option_is_enabled(mi_option_large_os_pages));
    EXPECT_EQ(measured, 3);
    // The environment's word stands, and nothing is measured.
    ::setenv("MIMALLOC_LARGE_OS_PAGES", "0", 1);
    EXPECT_FALSE(ChooseLargePages(touchTakes(15)));
    mi_option_enable(mi_option_large_os_pages);
    EXPECT_TRUE(ChooseLargePages(touchTakes(0.5)));
    EXPECT_EQ(measured, 3);

    mi_option_set_enabled(mi_option_large_os_pages, saved);
    if (environment)
        ::setenv("MIMALLOC_LARGE_OS_PAGES", savedEnvironment.c_str(), 1);
    else
        ::unsetenv("MIMALLOC_LARGE_OS_PAGES");
}

#else

TEST(Allocator, WithoutMimallocTheCLibraryServes)
{
    EXPECT_FALSE(UsesMimalloc());
    // Its pages are the system's to choose.
    EXPECT_FALSE(ChooseLargePages([] { return 100.0; }));
}

#endif

TEST(Allocator, TheFirstTouchOfAPageIsMeasured)
{
    const double micros = FirstTouchMicroseconds();
    EXPECT_GT(micros, 0);
    EXPECT_LT(micros, 1e6);
}

} // namespace
} // namespace orvane
