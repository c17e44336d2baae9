#pragma once

#include "engine/linkextract.h"

#include <string>

namespace orvane::test {

/// Link and anchor extraction done step by step the slow, obvious way: the
/// comment loop that erases and searches again, an upper-cased copy of the
/// page, one pass over the page per tag row, and every value added to its list
/// on its own. It is the reference the fast extraction is compared with.
void LiteralExtractLinks(std::string text, const ExtractContext &context, SortedStringList &links,
                         SortedStringList &anchors);

/// The comment loop alone; false when halted.
bool LiteralRemoveComments(std::string &text, Host &host, const bool &haltRequested);

/// One find of a tag row over the upper-cased and the plain copy of a page.
bool LiteralFindTagAttribute(const std::string &tag, const std::string &attribute,
                             std::string &value, size_t &offset, const std::string &upper,
                             const std::string &plain);

} // namespace orvane::test
