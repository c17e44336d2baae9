#include "base/allocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#ifdef ORVANE_EXPECT_MIMALLOC
#include <mimalloc.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

// Runs only when the test below restarts this program for it.
TEST(Allocator, DISABLED_RestartedWithTheOptions)
{
    EXPECT_TRUE(mi_option_is_enabled(mi_option_large_os_pages));
    EXPECT_EQ(mi_option_get(mi_option_eager_commit_delay), 0);
    EXPECT_NE(std::getenv(AllocatorRestartMarker), nullptr);
}

TEST(Allocator, RestartsOnceWithTheOptionsInEffectFromTheStart)
{
    ::unsetenv("MIMALLOC_LARGE_OS_PAGES");
    ::unsetenv("MIMALLOC_EAGER_COMMIT_DELAY");
    ::unsetenv(AllocatorRestartMarker);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string filter = "--gtest_filter=Allocator.DISABLED_RestartedWithTheOptions";
        std::string disabled = "--gtest_also_run_disabled_tests";
        std::string name = "tests_base";
        char *argv[] = {name.data(), filter.data(), disabled.data(), nullptr};
        UseLargeMemoryPages(argv);
        ::_exit(99); // no restart
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "99: not restarted; 1: options not in effect";
    // This process was not restarted, and its environment is as it was.
    EXPECT_EQ(std::getenv("MIMALLOC_LARGE_OS_PAGES"), nullptr);
}

TEST(Allocator, TheRestartedProgramLeavesNoOptionsToItsChildren)
{
    ::setenv("MIMALLOC_LARGE_OS_PAGES", "1", 1);
    ::setenv("MIMALLOC_EAGER_COMMIT_DELAY", "0", 1);
    ::setenv(AllocatorRestartMarker, "1", 1);
    char *noArgs[] = {nullptr};
    UseLargeMemoryPages(noArgs);
    EXPECT_EQ(std::getenv("MIMALLOC_LARGE_OS_PAGES"), nullptr);
    EXPECT_EQ(std::getenv("MIMALLOC_EAGER_COMMIT_DELAY"), nullptr);
    EXPECT_EQ(std::getenv(AllocatorRestartMarker), nullptr);

    // Options the user gave stay, and no restart is made for them.
    ::setenv("MIMALLOC_LARGE_OS_PAGES", "0", 1);
    std::string name = "tests_base";
    char *argv[] = {name.data(), nullptr};
    UseLargeMemoryPages(argv);
    EXPECT_STREQ(std::getenv("MIMALLOC_LARGE_OS_PAGES"), "0");
    ::unsetenv("MIMALLOC_LARGE_OS_PAGES");
}

#else

TEST(Allocator, WithoutMimallocNothingChanges)
{
    EXPECT_FALSE(UsesMimalloc());
    std::string name = "tests_base";
    char *argv[] = {name.data(), nullptr};
    UseLargeMemoryPages(argv); // would not return if it restarted
    EXPECT_EQ(std::getenv(AllocatorRestartMarker), nullptr);
}

#endif

} // namespace
} // namespace orvane
