#include "base/allocator.h"

#include <chrono>
#include <cstdlib>

#include <sys/mman.h>

#ifdef ORVANE_WITH_MIMALLOC
#include <mimalloc.h>
#include <new>

// mimalloc's own operators new are written in C and abort the program when
// memory runs out; these throw std::bad_alloc as C++ requires, so that a page
// too large to hold is reported and the check goes on. The build names the
// symbol below at every link, which brings them into every program.
extern "C" {
extern const int orvane_new_operators;
const int orvane_new_operators = 1;
}

namespace {

void *allocateOrThrow(std::size_t size, std::size_t alignment = 0)
{
    for (;;) {
        if (void *p = alignment ? mi_malloc_aligned(size, alignment) : mi_malloc(size))
            return p;
        const std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void *allocateOrNull(std::size_t size, std::size_t alignment = 0) noexcept
{
    try {
        return allocateOrThrow(size, alignment);
    } catch (...) {
        return nullptr;
    }
}

} // namespace

void *operator new(std::size_t size)
{
    return allocateOrThrow(size);
}

void *operator new[](std::size_t size)
{
    return allocateOrThrow(size);
}

void *operator new(std::size_t size, std::align_val_t alignment)
{
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}

void *operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return allocateOrNull(size);
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return allocateOrNull(size);
}

void *operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept
{
    return allocateOrNull(size, static_cast<std::size_t>(alignment));
}

void *operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept
{
    return allocateOrNull(size, static_cast<std::size_t>(alignment));
}
#endif

namespace orvane {

namespace {

// A first touch that costs this much or more is paid again and again by a
// large heap: several microseconds is a trap to the hypervisor, where a
// machine's own page fault takes well under one.
constexpr double SlowFirstTouchMicros = 4.0;

} // namespace

double FirstTouchMicroseconds()
{
    constexpr size_t Pages = 64;
    constexpr size_t PageSize = 4096;
    void *mapped = ::mmap(nullptr, Pages * PageSize, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return 0;
    // Small pages whatever the system's default, as those are what is measured.
    ::madvise(mapped, Pages * PageSize, MADV_NOHUGEPAGE);
    auto *bytes = static_cast<volatile char *>(mapped);
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < Pages; ++i)
        bytes[i * PageSize] = 1;
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    ::munmap(mapped, Pages * PageSize);
    return took.count() / Pages;
}

#ifdef ORVANE_WITH_MIMALLOC

bool ChooseLargePages(const std::function<double()> &measure)
{
    if (std::getenv("MIMALLOC_LARGE_OS_PAGES"))
        return mi_option_is_enabled(mi_option_large_os_pages);
    const bool large = UsesMimalloc() && measure() >= SlowFirstTouchMicros;
    mi_option_set_enabled(mi_option_large_os_pages, large);
    return large;
}

bool UsesMimalloc()
{
    // malloc itself must be mimalloc's, not only the library linked in.
    auto *probe = static_cast<char *>(std::malloc(64));
    if (!probe)
        return false;
    *probe = 0;
    const bool ours = mi_is_in_heap_region(probe);
    std::free(probe);
    return ours;
}

#else

bool UsesMimalloc()
{
    return false;
}

bool ChooseLargePages(const std::function<double()> &)
{
    return false;
}

#endif

} // namespace orvane
