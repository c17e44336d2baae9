#pragma once

#include <string>

namespace orvane {

class Host;
class SortedStringList;

/// What one extraction needs from around it.
struct ExtractContext
{
    Host &host;                 // status line, count panel, pending events
    const bool &haltRequested;  // tested at every item
    bool ignoreJavaScript;      // drop values starting with "javascript:"
    bool isSpaceValid;          // keep values with blanks whole
    std::string fileName;       // shown in the status line
};

/// Extracts every link value of the 35 tag/attribute rows and of META refresh,
/// and every anchor name, from a page's text (NULs already turned into blanks;
/// the text may be modified). Links and anchors receive exactly what adding the
/// values one by one, row by row, would give.
void ExtractLinksFromText(std::string &text, const ExtractContext &context,
                          SortedStringList &links, SortedStringList &anchors);

} // namespace orvane
