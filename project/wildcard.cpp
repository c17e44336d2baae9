#include "project/wildcard.h"

#include "base/errors.h"

namespace orvane {

// Trying every place where the byte after a "*" occurs, recursively, costs
// exponential time on patterns such as "*a*a*a*a*b". Only the last "*" seen
// ever needs to be retried: whatever a later part of the pattern could match
// after a longer run of an earlier star, the last star can swallow as well. So
// one resume point (the pattern behind the last star, and how much of the text
// that star has taken) gives the same answers in time pattern x text.
bool WildCardMatch(std::string_view pattern, std::string_view text)
{
    constexpr size_t none = std::string_view::npos;
    size_t p = 0;
    size_t t = 0;
    size_t resumePattern = none;
    size_t resumeText = 0;
    // A mismatch lets the last star take one more byte; without a star it is final.
    const auto retry = [&] {
        if (resumePattern == none)
            return false;
        p = resumePattern;
        t = ++resumeText;
        return true;
    };
    while (t < text.size()) {
        if (p == pattern.size()) {
            if (!retry())
                return false;
            continue;
        }
        ORVANE_ASSERT(p < pattern.size(), "UWildCard");
        const char c = pattern[p];
        if (c == '*') {
            resumePattern = ++p;
            resumeText = t;
        } else if (c == '?' || c == text[t]) {
            ++p;
            ++t;
        } else if (!retry()) {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace orvane
