#include "support/oracles.h"

#include "base/textcodec.h"

#include <algorithm>

namespace orvane::fuzz {

namespace {

char fold(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string normaliseLineBreaks(const std::string &in)
{
    const bool utf8 = IsValidUtf8(in);
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (c == '\r' || c == '\n') {
            out += "\r\n";
        } else if (!utf8 && i + 1 < in.size() && IsLeadByte(std::string_view(&c, 1), 0, false)) {
            out += c;
            out += in[++i];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

size_t LiteralIgnoreCasePos(std::string_view pattern, std::string_view text)
{
    if (pattern.empty() || text.empty())
        return 0;
    const size_t end = std::min(text.find('\0'), text.size());
    for (size_t i = 0; i < end; ++i) {
        if (fold(text[i]) != fold(pattern[0]))
            continue;
        if (end - i < pattern.size())
            return 0;
        size_t k = 0;
        while (k < pattern.size() && fold(text[i + k]) == fold(pattern[k]))
            ++k;
        if (k == pattern.size())
            return i + 1;
    }
    return 0;
}

std::string LiteralReplaceAll(std::string text, const std::string &pattern,
                              const std::string &replacement)
{
    if (pattern == replacement || text.empty() || pattern.empty())
        return text;
    size_t from = 0;
    for (;;) {
        const std::string_view live(text.data(), std::min(text.find('\0'), text.size()));
        const size_t at = live.find(pattern, from);
        if (at == std::string_view::npos)
            return text;
        text.erase(at, pattern.size());
        text.insert(at, replacement);
        from = pattern.size() == replacement.size() ? at : at + replacement.size();
    }
}

std::vector<size_t> LiteralOccurrenceLines(const std::string &content, const std::string &text,
                                           bool ignoreCase)
{
    std::string rest = normaliseLineBreaks(content);
    std::vector<size_t> lines;
    size_t breaks = 0;
    for (;;) {
        size_t pos = 0;
        if (ignoreCase) {
            pos = LiteralIgnoreCasePos(text, rest);
        } else if (!text.empty()) {
            const size_t at = rest.find(text);
            pos = at == std::string::npos ? 0 : at + 1;
        }
        if (pos == 0)
            return lines;
        breaks += static_cast<size_t>(std::count(rest.begin(), rest.begin() + (pos - 1), '\r'));
        lines.push_back(breaks + 1);
        rest.erase(0, pos - 1 + text.size());
    }
}

} // namespace orvane::fuzz
