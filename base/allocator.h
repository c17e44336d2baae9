#pragma once

#include <functional>

namespace orvane {

/// Whether the programs' allocations are served by mimalloc (the build links
/// it where it is installed; allocator.cpp holds the operators new that go
/// with it).
bool UsesMimalloc();

/// How long the first touch of a fresh 4 KB page takes here, in microseconds:
/// the mean over a few pages mapped for the purpose.
double FirstTouchMicroseconds();

/// Has mimalloc take its memory in 2 MB pages where the first touch of a
/// fresh 4 KB page is slow (measure gives its cost): a virtual machine that
/// keeps shadow page tables takes ten times what others do for each, and a
/// large site's heap then costs one fault where it cost 512. Elsewhere small
/// pages stay, which hold a little less memory. The environment's own
/// MIMALLOC_LARGE_OS_PAGES, when set, decides instead, and nothing is
/// measured. Returns whether large pages are asked for.
///
/// For a run that is judged by its end, as orvane-check's: the first touch
/// of a 2 MB page is a stall of its own (milliseconds where the host backs
/// it only then), and while the heap grows fast they bunch into pauses that
/// a window would show, so the window keeps small pages.
bool ChooseLargePages(const std::function<double()> &measure = FirstTouchMicroseconds);

} // namespace orvane
