#pragma once

#include "engine/linkextract.h"

#include <string>

namespace orvane::test {

/// Link, anchor and id extraction done step by step the slow, obvious way:
/// the comment loop that erases and searches again (remembering where each
/// remaining byte stood in the page), an upper-cased copy of the page, one
/// pass over the page per tag row and one tag by tag for the ids, every value
/// added to its list on its own, and each link's line counted from the start
/// of the page as written. It is the reference the fast extraction is
/// compared with.
void LiteralExtractLinks(std::string text, const ExtractContext &context, PageLinks &out);

/// The comment loop alone; false when halted.
bool LiteralRemoveComments(std::string &text, Host &host, const bool &haltRequested);

/// One find of a tag row over the upper-cased and the plain copy of a page.
bool LiteralFindTagAttribute(const std::string &tag, const std::string &attribute,
                             std::string &value, size_t &offset, const std::string &upper,
                             const std::string &plain);

} // namespace orvane::test
