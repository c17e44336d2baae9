#pragma once

#include <sys/resource.h>

#include <string>
#include <string_view>
#include <vector>

namespace orvane::test {

/// Whether the tests run with AddressSanitizer, which reserves far more address
/// space than an address-space limit leaves.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool AddressSanitizerActive = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool AddressSanitizerActive = true;
#else
inline constexpr bool AddressSanitizerActive = false;
#endif
#else
inline constexpr bool AddressSanitizerActive = false;
#endif

/// Lowers a resource limit (the soft one) for as long as the object lives.
/// For RLIMIT_FSIZE it also ignores SIGXFSZ, so that a write beyond the limit
/// fails instead of ending the process.
class ScopedLimit
{
public:
    ScopedLimit(int resource, rlim_t limit);
    ~ScopedLimit();
    ScopedLimit(const ScopedLimit &) = delete;
    ScopedLimit &operator=(const ScopedLimit &) = delete;
    /// Whether the limit could be set.
    bool active() const { return m_active; }

private:
    int m_resource;
    rlimit m_saved{};
    bool m_active = false;
};

bool RunningAsRoot();

/// While it lives, temporary folders are made in memory (/dev/shm) when the
/// machine has it: trees of many thousand files are made and removed there in
/// a fraction of the time a disk takes.
class ScopedMemoryTemp
{
public:
    ScopedMemoryTemp();
    ~ScopedMemoryTemp();
    ScopedMemoryTemp(const ScopedMemoryTemp &) = delete;
    ScopedMemoryTemp &operator=(const ScopedMemoryTemp &) = delete;

private:
    bool m_hadValue = false;
    std::string m_saved;
};

/// Makes a sparse file of size bytes (no disk space taken), with text written
/// at its start and at its end; false when the file system cannot.
bool MakeSparseFile(const std::string &path, unsigned long long size, std::string_view head,
                    std::string_view tail);

/// The names in a folder but "." and "..", sorted.
std::vector<std::string> FolderEntries(const std::string &folder);

} // namespace orvane::test
