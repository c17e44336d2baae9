#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

/// Look-up key of a path's file name: the sum of the first six bytes of the
/// upper-cased file-name part. Equal names (without case) give equal keys.
int32_t NameKey(std::string_view path);

/// Three-way comparison of two paths: with ignoreCase a-z fold onto A-Z,
/// otherwise the bytes compare as they are. Zero means equal.
int CompareFileNames(std::string_view a, std::string_view b, bool ignoreCase);

} // namespace orvane
