#pragma once

#include <cstddef>
#include <string_view>

namespace orvane {

/// 1-based byte position of the first occurrence of pattern in text with a-z
/// folded onto A-Z (other bytes compared as they are), 0 when there is none or
/// either is empty. The text counts as ending at its first NUL byte.
size_t IgnoreCasePos(std::string_view pattern, std::string_view text);

} // namespace orvane
