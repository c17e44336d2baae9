#pragma once

namespace orvane {

/// The environment variable that tells a restart from the first start.
inline constexpr const char *AllocatorRestartMarker = "ORVANE_ALLOCATOR_RESTART";

/// Has the allocator take its memory from the system in 2 MB pages. A check
/// touches hundreds of megabytes in small pieces; with 4 KB pages every page
/// costs a fault, and faults are dear on virtual machines (a third of the
/// time of a check on one).
///
/// mimalloc reads its options from the environment while the process is
/// loaded, before main, so the program starts itself once more (argv on
/// /proc/self/exe) with them set, unless the environment already says how
/// mimalloc should work. The restarted program calls this too and then takes
/// the options out of the environment again, so that the programs it starts
/// do not inherit them. Returns when no restart is due or none could be made.
/// Does nothing in a build without mimalloc.
void UseLargeMemoryPages(char **argv);

/// Whether the programs' allocations are served by mimalloc.
bool UsesMimalloc();

} // namespace orvane
