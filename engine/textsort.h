#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

namespace orvane {

/// A text and a number that orders texts equal without case.
using NumberedText = std::pair<std::string_view, uint32_t>;

/// Sorts the texts as the case-insensitive lists do (CompareText), equal ones
/// by their numbers: the order std::sort gives with that comparison. The
/// links of a page share long beginnings ("library/os.html#os."), which a
/// comparison of two whole texts would go over again each time; here each
/// byte of a beginning that texts share is looked at about once per text.
void SortTexts(std::span<NumberedText> texts);

/// The same with at most that many partitions of a run at one byte before
/// it is sorted by comparing whole texts; for the tests of that way.
void SortTextsAllowing(std::span<NumberedText> texts, size_t partitions);

} // namespace orvane
