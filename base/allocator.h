#pragma once

namespace orvane {

/// Whether the programs' allocations are served by mimalloc (the build links
/// it where it is installed; allocator.cpp holds the operators new that go
/// with it).
bool UsesMimalloc();

} // namespace orvane
