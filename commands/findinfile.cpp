#include "commands/findinfile.h"

#include "base/host.h"
#include "base/ignorecasepos.h"
#include "base/textcodec.h"
#include "base/usertext.h"
#include "engine/readfileall.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace orvane {

namespace {

/// Whether c opens a double-byte character when it stands at a character
/// boundary. Shift-JIS only: in UTF-8 no byte of a multi-byte character is a
/// CR or an LF, so that text needs no such care.
bool opensDoubleByte(char c)
{
    return IsLeadByte(std::string_view(&c, 1), 0, false);
}

/// Every CR LF, lone CR and lone LF as CR LF, so that each line break is one
/// CR. A double-byte character is copied whole: a broken page may put a line
/// break right after a lead byte, and that byte pair is one character.
std::string normaliseLineBreaks(const std::string &in, bool utf8)
{
    std::string out;
    out.reserve(in.size() + in.size() / 32 + 16);
    const size_t n = in.size();
    size_t i = 0;
    while (i < n) {
        const char c = in[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            i += (c == '\r' && i + 1 < n && in[i + 1] == '\n') ? 2 : 1;
        } else if (!utf8 && i + 1 < n && opensDoubleByte(c)) {
            out += c;
            out += in[i + 1];
            i += 2;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

/// 1-based position of the first occurrence of text in region, 0 for none.
size_t findIn(std::string_view region, const std::string &text, bool ignoreCase)
{
    if (ignoreCase)
        return IgnoreCasePos(text, region);
    if (text.empty() || region.size() < text.size())
        return 0;
    const void *hit = memmem(region.data(), region.size(), text.data(), text.size());
    return hit ? static_cast<const char *>(hit) - region.data() + 1 : 0;
}

/// Number of bytes of the UTF-8 sequence that lead byte c opens.
size_t utf8Length(unsigned char c)
{
    if (c >= 0xF0)
        return 4;
    return c >= 0xE0 ? 3 : 2;
}

/// The snippet without a character cut off at its end: in Shift-JIS a final
/// lead byte; in UTF-8 a final sequence that lacks continuation bytes, which
/// is a lone lead byte or a lead byte with some of its continuation bytes.
std::string_view withoutBrokenEnd(std::string_view snippet, bool utf8)
{
    if (snippet.empty())
        return snippet;
    if (!utf8)
        return IsLeadByte(snippet, snippet.size() - 1, false)
                   ? snippet.substr(0, snippet.size() - 1)
                   : snippet;
    size_t lead = snippet.size() - 1;
    while (lead > 0 && snippet.size() - lead < 4 && IsTrailByte(snippet, lead, true))
        --lead;
    if (!IsLeadByte(snippet, lead, true))
        return snippet;
    const size_t need = utf8Length(static_cast<unsigned char>(snippet[lead]));
    return snippet.size() - lead < need ? snippet.substr(0, lead) : snippet;
}

/// Appends one line-number and snippet pair per occurrence. The content is
/// searched from `start` on, after the previous occurrence; every position and
/// every double-byte test is taken relative to that start, as though the text
/// before it had been cut away. So a snippet never reaches back into an earlier
/// occurrence, and lines are counted once each.
void collectOccurrences(std::string_view content, const std::string &text, size_t before,
                        size_t after, bool ignoreCase, bool utf8, std::vector<std::string> &result)
{
    const size_t span = text.size() + before + after;
    size_t start = 0;
    size_t breaks = 0;
    for (;;) {
        const std::string_view region = content.substr(start);
        const size_t pos = findIn(region, text, ignoreCase);
        if (pos == 0)
            return;
        breaks += static_cast<size_t>(std::count(region.begin(), region.begin() + (pos - 1), '\r'));
        // 1-based within the region. In Shift-JIS one step leaves a second
        // byte; a UTF-8 sequence may need up to three.
        size_t from = pos > before ? pos - before : 1;
        while (from <= region.size() && IsTrailByte(region, from - 1, utf8))
            ++from;
        const std::string_view snippet =
            withoutBrokenEnd(region.substr(std::min(from - 1, region.size()), span), utf8);
        std::string line = std::to_string(breaks + 1);
        std::string copy(snippet);
        result.push_back(std::move(line));
        result.push_back(std::move(copy));
        start += pos - 1 + text.size();
    }
}

} // namespace

std::vector<std::string> FindStringInFile(const std::string &path, const std::string &text,
                                          int before, int after, bool ignoreCase, Host &host)
{
    std::string content = ReadFileAll(path, host);
    // The character code of the page is decided once, for the whole page.
    const bool utf8 = IsValidUtf8(content);
    content = normaliseLineBreaks(content, utf8);

    std::vector<std::string> result;
    try {
        collectOccurrences(content, text, static_cast<size_t>(std::max(before, 0)),
                           static_cast<size_t>(std::max(after, 0)), ignoreCase, utf8, result);
    } catch (const std::exception &) {
        // Keep whole pairs only: the menu pairs each line number with a snippet.
        if (result.size() % 2 != 0)
            result.pop_back();
        host.error(Tr(QT_TRANSLATE_NOOP("Orvane", "予期せぬエラーです。(T_T)")));
    }
    return result;
}

} // namespace orvane
