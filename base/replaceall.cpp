#include "base/replaceall.h"

#include <cstring>
#include <vector>

namespace orvane {

namespace {

/// Knuth-Morris-Pratt matcher for one pattern. The overwrite mode needs it: after
/// an occurrence is overwritten the search restarts inside the bytes just
/// written, and a restart from scratch would cost up to the pattern's length per
/// occurrence. The matcher instead resumes from the state those written bytes
/// leave behind, which is always the same.
class Matcher
{
public:
    explicit Matcher(std::string_view pattern)
        : m_pattern(pattern)
        , m_fail(pattern.size() + 1, 0)
    {
        size_t k = 0;
        for (size_t i = 1; i < pattern.size(); ++i) {
            while (k > 0 && pattern[i] != pattern[k])
                k = m_fail[k];
            if (pattern[i] == pattern[k])
                ++k;
            m_fail[i + 1] = k;
        }
    }

    /// The state after reading c in state k (k bytes of the pattern matched).
    size_t step(size_t k, char c) const
    {
        if (k == m_pattern.size())
            k = m_fail[k];
        while (k > 0 && c != m_pattern[k])
            k = m_fail[k];
        return c == m_pattern[k] ? k + 1 : k;
    }

    /// The state after reading text from state 0.
    size_t run(std::string_view text) const
    {
        size_t k = 0;
        for (char c : text)
            k = step(k, c);
        return k;
    }

    size_t length() const { return m_pattern.size(); }
    char first() const { return m_pattern[0]; }

private:
    std::string_view m_pattern;
    std::vector<size_t> m_fail;
};

/// Same length: every occurrence is overwritten where it stands and the search
/// goes on from the first written byte. Bytes before the written ones never take
/// part in a later match, so after a write the matcher is in the state the
/// replacement alone produces; the bytes after it are still the original ones.
void overwriteInPlace(std::string &text, size_t end, std::string_view pattern,
                      std::string_view replacement)
{
    const Matcher matcher(pattern);
    const size_t afterWrite = matcher.run(replacement);
    const size_t m = pattern.size();
    size_t state = 0;
    size_t i = 0;
    while (i < end) {
        if (state == 0) {
            // Nothing matched yet: jump to the next possible start.
            const void *hit = std::memchr(text.data() + i, matcher.first(), end - i);
            if (!hit)
                return;
            i = static_cast<const char *>(hit) - text.data();
        }
        state = matcher.step(state, text[i]);
        ++i;
        if (state == m) {
            text.replace(i - m, m, replacement);
            state = afterWrite;
        }
    }
}

/// Different lengths: the search never enters inserted text, so the result is
/// the original with its leftmost non-overlapping occurrences exchanged.
std::string exchange(const std::string &text, size_t end, std::string_view pattern,
                     std::string_view replacement)
{
    std::string out;
    out.reserve(text.size());
    const char *base = text.data();
    size_t done = 0;
    while (end - done >= pattern.size()) {
        const void *hit = memmem(base + done, end - done, pattern.data(), pattern.size());
        if (!hit)
            break;
        const size_t at = static_cast<const char *>(hit) - base;
        out.append(base + done, at - done);
        out.append(replacement);
        done = at + pattern.size();
    }
    out.append(base + done, text.size() - done);
    return out;
}

} // namespace

std::string ReplaceAll(std::string text, std::string_view pattern, std::string_view replacement)
{
    if (pattern == replacement || text.empty() || pattern.empty())
        return text;
    // The search stops at the first NUL; the bytes after it are kept as they
    // are. Bytes written by a replacement do not move that end.
    const size_t nul = text.find('\0');
    const size_t end = nul == std::string::npos ? text.size() : nul;
    if (pattern.size() == replacement.size()) {
        overwriteInPlace(text, end, pattern, replacement);
        return text;
    }
    return exchange(text, end, pattern, replacement);
}

} // namespace orvane
