#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

/// Whether text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

/// Text from disk decoded for display: valid UTF-8 as it is, anything else as
/// Shift-JIS (code page 932); bytes that decode to nothing become U+FFFD.
std::string DecodeForDisplay(std::string_view bytes);

/// Double-byte character rules for byte-wise text routines: text that is valid
/// UTF-8 follows UTF-8 sequence boundaries, any other text the lead and trail
/// bytes of Shift-JIS. `utf8` is IsValidUtf8(text), computed once by the caller.
///
/// Whether the byte at index i is the first byte of a multi-byte character.
bool IsLeadByte(std::string_view text, size_t i, bool utf8);
/// Whether the byte at index i continues a multi-byte character that starts
/// before it (scanning from the start of the text).
bool IsTrailByte(std::string_view text, size_t i, bool utf8);

} // namespace orvane
