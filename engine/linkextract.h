#pragma once

#include "engine/commentremoval.h"
#include "engine/idset.h"
#include "engine/linkplaces.h"
#include "engine/stringlist.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class Host;

/// The options that change which values a page gives.
struct ExtractOptions
{
    bool ignoreJavaScript = false; // drop values starting with "javascript:"
    bool isSpaceValid = false;     // keep values with blanks whole
    bool operator==(const ExtractOptions &) const = default;
};

/// What one extraction needs from around it.
struct ExtractContext
{
    Host &host;                // status line, count panel, pending events
    const bool &haltRequested; // tested at every item
    bool ignoreJavaScript;     // drop values starting with "javascript:"
    bool isSpaceValid;         // keep values with blanks whole
    std::string fileName;      // shown in the status line

    ExtractOptions options() const { return {ignoreJavaScript, isSpaceValid}; }
};

/// One value span found in a page, and the tag table row that found it (or
/// IdRow for the id of a tag).
struct LinkFind
{
    size_t begin;
    size_t end;
    size_t row;
};

/// The rows of the tag table: 35 link rows, META refresh, two anchor rows.
inline constexpr size_t LinkRowTotal = 38;
/// The finds of the id scan come after those of the rows.
inline constexpr size_t IdRow = LinkRowTotal;
inline constexpr size_t FindRowTotal = LinkRowTotal + 1;

/// What extraction gives for one page.
struct PageLinks
{
    SortedStringList links;        // every link value
    std::vector<LinkPlace> places; // where each entry of links stands
    SortedStringList anchors;      // every anchor name
    IdSet targets;                 // every element id
};

/// A page's extraction worked out without the user interface: everything
/// ExtractLinksFromText computes, so that it can be done ahead of time, on
/// another thread, and handed to the lists later with the same events.
struct PreparedPage
{
    ExtractOptions options;
    std::string text;                                // with the comments removed
    size_t commentCount = 0;                         // comments removed
    std::vector<CommentGap> commentGaps;             // where they stood
    std::vector<LinkFind> finds;                     // by row, each row in page order
    std::array<size_t, FindRowTotal + 1> rowStart{}; // where each row's finds begin
    PageLinks lists; // what the page gives when it is handed over whole
};

/// Removes the comments and finds and sorts every value of a page; touches
/// nothing shared, so any thread may call it.
PreparedPage PreparePage(std::string text, ExtractOptions options);

/// Hands a prepared page over with exactly the status texts, events, count
/// panel and halt behaviour of ExtractLinksFromText, and the same result. The
/// page must have been prepared with the context's options.
void ApplyPreparedPage(PreparedPage &page, const ExtractContext &context, PageLinks &out);

/// Extracts every link value of the 35 tag/attribute rows and of META refresh,
/// every anchor name and every element id from a page's text (NULs already
/// turned into blanks; the text may be modified) into out, replacing what it
/// held. Links and anchors are what adding the values one by one, row by row,
/// gives; ids are taken from every tag in page order, by the same value rules
/// but without a progress step of their own, and only from a page that was
/// extracted without a halt.
void ExtractLinksFromText(std::string &text, const ExtractContext &context, PageLinks &out);

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

/// A refresh target as a browser takes it: one that begins with a quote loses
/// it and everything from the next same quote on (all but the opening quote
/// when none follows); any other target stays whole.
std::string_view UnquotedRefreshTarget(std::string_view target);

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
