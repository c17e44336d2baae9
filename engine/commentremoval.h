#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

class Host;

/// Where comment removal took text out of a page: right before position `at`
/// of the text as it is after removal stood removed text holding `breaks` line
/// breaks. Comments removed next to each other, or one formed across the
/// place of an earlier one, make one gap.
struct CommentGap
{
    size_t at;
    uint32_t breaks;
};

/// Removes the page's comments in place: repeatedly the first "<!--" up to and
/// including the first "-->", as long as that start stands before that end,
/// over the text as it is after each removal. Calls before() ahead of every
/// removal and after() behind it; after() returning false stops the removal
/// and leaves the text unusable (the result is then false). When gaps is
/// given it receives, in ascending order, where the removed text stood, so
/// that a place in the shortened text can be traced back to its line.
bool CutComments(std::string &text, const std::function<void()> &before,
                 const std::function<bool()> &after, std::vector<CommentGap> *gaps);

/// Removes the page's comments as CutComments does, letting events run and
/// showing the count before every removal. Returns false when the user
/// halted; the text is then unusable.
bool RemoveComments(std::string &text, Host &host, const bool &haltRequested);

} // namespace orvane
