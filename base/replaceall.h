#pragma once

#include <string>
#include <string_view>

namespace orvane {

/// Replaces every occurrence of pattern in text (exact, byte-wise; the text
/// counts as ending at its first NUL byte). With pattern and replacement of the
/// same length each occurrence is overwritten in place and the search goes on
/// from the first written byte; otherwise the search goes on after the inserted
/// text. An empty pattern occurs nowhere; pattern == replacement or an empty
/// text returns text unchanged.
std::string ReplaceAll(std::string text, std::string_view pattern, std::string_view replacement);

} // namespace orvane
