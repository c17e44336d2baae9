#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

class Host;
class SortedStringList;

/// What one extraction needs from around it.
struct ExtractContext
{
    Host &host;                // status line, count panel, pending events
    const bool &haltRequested; // tested at every item
    bool ignoreJavaScript;     // drop values starting with "javascript:"
    bool isSpaceValid;         // keep values with blanks whole
    std::string fileName;      // shown in the status line
};

/// Extracts every link value of the 35 tag/attribute rows and of META refresh,
/// and every anchor name, from a page's text (NULs already turned into blanks;
/// the text may be modified). Links and anchors receive exactly what adding the
/// values one by one, row by row, would give.
void ExtractLinksFromText(std::string &text, const ExtractContext &context, SortedStringList &links,
                          SortedStringList &anchors);

/// Removes the page's comments in place: repeatedly the first "<!--" up to and
/// including the first "-->", as long as that start stands before that end,
/// over the text as it is after each removal. Lets events run and shows the
/// count before every removal. Returns false when the user halted; the text is
/// then unusable.
bool RemoveComments(std::string &text, Host &host, const bool &haltRequested);

/// Space, CR and LF separate a tag's name from its attributes; a tab does not.
inline constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

/// Advances pos over blanks; returns how many were skipped.
size_t SkipBlanks(std::string_view text, size_t &pos);

/// The part of text before its first space; all of it when it has none, empty
/// when it begins with one.
std::string_view CutAtSpace(std::string_view text);

/// Finds the next "<" + tag at or after offset whose ">" follows somewhere, and
/// the value of attribute in it (tag and attribute given in upper case, matched
/// without case). Returns false, with offset unchanged, when there is no such
/// tag. Otherwise offset becomes the position of the tag's ">" and value holds
/// the value of the first blank-preceded occurrence of the attribute inside the
/// tag, with CR LF pairs removed; value is empty when the tag's name runs on,
/// the attribute is missing or has no "=".
bool FindTagAttribute(std::string_view tag, std::string_view attribute, std::string &value,
                      size_t &offset, std::string_view text);

} // namespace orvane
