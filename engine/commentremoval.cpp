#include "engine/commentremoval.h"

#include "base/host.h"
#include "engine/bytescan.h"

#include <algorithm>
#include <string_view>

namespace orvane {

namespace {

constexpr size_t npos = std::string_view::npos;

/// The text between the part already settled (the first m_kept bytes) and the
/// part not yet looked at (from m_rest on), with the comments removed so far
/// cut out. Neither marker stands complete inside the settled part, so a new
/// first marker is either one that forms across the seam or the next one in
/// the rest, which is searched at most once per stretch of text.
class CommentCutter
{
public:
    CommentCutter(std::string &text, std::vector<CommentGap> *gaps)
        : m_text(text)
        , m_gaps(gaps)
    {
    }

    size_t firstOpen() { return first("<!--", m_open); }
    size_t firstClose() { return first("-->", m_close); }

    /// Removes [from, to) of the current text; to lies beyond the seam.
    void cut(size_t from, size_t to)
    {
        if (m_gaps)
            recordGap(from, to);
        const size_t newRest = m_rest + (to - m_kept);
        if (from >= m_kept) {
            const size_t n = from - m_kept;
            std::copy(m_text.begin() + m_rest, m_text.begin() + m_rest + n,
                      m_text.begin() + m_kept);
            m_kept += n;
        } else {
            m_kept = from;
        }
        m_rest = newRest;
    }

    void finish()
    {
        if (m_kept == m_rest)
            return;
        std::copy(m_text.begin() + m_rest, m_text.end(), m_text.begin() + m_kept);
        m_text.resize(m_kept + (m_text.size() - m_rest));
    }

private:
    struct Found
    {
        bool known = false;
        size_t at = npos; // position in m_text, at or after m_rest when searched
    };

    size_t size() const { return m_kept + (m_text.size() - m_rest); }
    char at(size_t i) const { return i < m_kept ? m_text[i] : m_text[m_rest + (i - m_kept)]; }

    bool markerAt(size_t i, std::string_view marker) const
    {
        if (size() - i < marker.size())
            return false;
        for (size_t k = 0; k < marker.size(); ++k) {
            if (at(i + k) != marker[k])
                return false;
        }
        return true;
    }

    size_t first(std::string_view marker, Found &found)
    {
        const size_t back = marker.size() - 1;
        for (size_t i = m_kept > back ? m_kept - back : 0; i < m_kept; ++i) {
            if (markerAt(i, marker))
                return i;
        }
        if (!found.known || (found.at != npos && found.at < m_rest)) {
            found.at = FindMarker(m_text, marker, m_rest);
            found.known = true;
        }
        return found.at == npos ? npos : m_kept + (found.at - m_rest);
    }

    /// Records the gap that removing [from, to) of the current text leaves,
    /// with the line breaks the page wrote there: an LF, a CR LF, or a CR
    /// whose next byte was no LF. Earlier gaps at or after from merge into
    /// it; they lie in the last bytes before the seam, behind which only the
    /// start of the new "<!--" stands, so no CR of the removed text is
    /// followed by one of them.
    void recordGap(size_t from, size_t to)
    {
        std::vector<CommentGap> &gaps = *m_gaps;
        size_t merged = gaps.size();
        while (merged > 0 && gaps[merged - 1].at >= from)
            --merged;
        uint32_t breaks = 0;
        const auto countBreak = [&](size_t i) {
            if (at(i) == '\n' || at(i + 1) != '\n')
                ++breaks;
        };
        // The removed text ends with "-->", so every CR in it has a next byte.
        const std::string_view text(m_text);
        if (from < m_kept)
            ForEachOf(text, from, m_kept, '\r', '\n', '\n', [&](size_t i) {
                countBreak(i);
                return true;
            });
        const size_t restFrom = m_rest + (std::max(from, m_kept) - m_kept);
        ForEachOf(text, restFrom, m_rest + (to - m_kept), '\r', '\n', '\n', [&](size_t i) {
            countBreak(m_kept + (i - m_rest));
            return true;
        });
        for (size_t k = merged; k < gaps.size(); ++k)
            breaks += gaps[k].breaks;
        gaps.resize(merged);
        gaps.push_back({from, breaks});
    }

    std::string &m_text;
    std::vector<CommentGap> *m_gaps;
    size_t m_kept = 0;
    size_t m_rest = 0;
    Found m_open;
    Found m_close;
};

} // namespace

bool CutComments(std::string &text, const std::function<void()> &before,
                 const std::function<bool()> &after, std::vector<CommentGap> *gaps)
{
    CommentCutter cutter(text, gaps);
    for (;;) {
        const size_t open = cutter.firstOpen();
        if (open == npos)
            break;
        const size_t close = cutter.firstClose();
        if (close == npos || open >= close)
            break;
        before();
        cutter.cut(open, close + 3);
        if (!after())
            return false;
    }
    cutter.finish();
    return true;
}

bool RemoveComments(std::string &text, Host &host, const bool &haltRequested)
{
    long counter = 0;
    return CutComments(
        text, [&host] { host.processEvents(); },
        [&] {
            if (haltRequested)
                return false;
            host.setCountPanel(counter++);
            return true;
        },
        nullptr);
}

} // namespace orvane
