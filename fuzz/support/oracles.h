#pragma once

#include "support/literal_wildcard.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::fuzz {

using test::LiteralWildCardMatch;

// The routines as their behaviour is described, written the slow and obvious
// way: erase, search again, recurse. The fast versions must agree with them.

/// 1-based position of the first case-folded occurrence of pattern in text up
/// to its first NUL, 0 for none; the search gives up when fewer bytes than the
/// pattern's remain after a first-byte match.
size_t LiteralIgnoreCasePos(std::string_view pattern, std::string_view text);

/// Replace by erase and insert, searching again after each change (the text
/// ends at its first NUL; pattern and replacement hold none).
std::string LiteralReplaceAll(std::string text, const std::string &pattern,
                              const std::string &replacement);

/// The line numbers FindStringInFile reports for text in content: line breaks
/// made CR LF (a Shift-JIS double-byte character copied whole), then search,
/// count the CRs before the find, cut up to the end of the find, search again.
std::vector<size_t> LiteralOccurrenceLines(const std::string &content, const std::string &text,
                                           bool ignoreCase);

} // namespace orvane::fuzz
