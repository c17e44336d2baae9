#include "base/allocator.h"

#ifdef ORVANE_WITH_MIMALLOC
#include <cstdlib>
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

#ifdef ORVANE_WITH_MIMALLOC

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

#endif

} // namespace orvane
