#pragma once

#include <string_view>

namespace orvane {

/// Anchored wildcard match, byte by byte and case-sensitive: "*" stands for any
/// run of bytes (the empty run included), "?" for exactly one byte.
bool WildCardMatch(std::string_view pattern, std::string_view text);

} // namespace orvane
