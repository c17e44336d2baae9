#pragma once

#include <cstddef>
#include <functional>

namespace orvane {

/// Runs work(i) for every i in [first, last) on up to `threads` threads, the
/// calling one among them, and returns when all are done. work must not touch
/// anything another call changes. An exception from any call is passed on to
/// the caller once every thread has stopped.
void ParallelFor(size_t first, size_t last, unsigned threads,
                 const std::function<void(size_t)> &work);

/// Threads worth using for work that only computes: the machine's cores.
unsigned ComputeThreads();

} // namespace orvane
