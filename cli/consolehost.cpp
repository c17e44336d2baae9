#include "cli/consolehost.h"

#include "base/textcodec.h"
#include "base/usertext.h"

#include <algorithm>

#include <sys/ioctl.h>
#include <unistd.h>

namespace orvane::cli {

namespace {

constexpr auto RedrawInterval = std::chrono::milliseconds(100);
// The clock is read only every so many pending-event calls: a large site
// makes millions of them.
constexpr uint32_t CallsPerClockRead = 256;

int terminalColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

/// The longest start of UTF-8 text that fits in the given columns, counting
/// every non-ASCII character as two (wide East Asian characters are the
/// common ones here; too short a line is harmless).
std::string fitColumns(const std::string &text, int columns)
{
    int used = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        const int width = c < 0x80 ? 1 : 2;
        if (used + width > columns)
            break;
        used += width;
        i += length;
    }
    return text.substr(0, std::min(i, text.size()));
}

/// A message box text as one line. Its lines are decoded one by one: a box
/// often puts a path from disk on a line of its own below the program's text.
std::string oneLine(const std::string &text)
{
    std::string line;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        if (!line.empty())
            line += ' ';
        line += PrintableText(text.substr(start, stop - start));
        start = end + 1;
    }
    return line;
}

} // namespace

std::string PrintableText(const std::string &bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    const std::string decoded = DecodeForDisplay(bytes);
    std::string out;
    out.reserve(decoded.size());
    for (const char c : decoded) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F)
            out += c;
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += {'\\', 'x', hex[u >> 4], hex[u & 0xF]};
    }
    return out;
}

ConsoleHost::ConsoleHost(std::ostream &err, bool progress, bool quiet)
    : m_err(err)
    , m_progress(progress)
    , m_quiet(quiet)
{
}

void ConsoleHost::setStatus(const std::string &text)
{
    if (!m_progress || text.empty())
        return;
    m_stage = text;
    drawIfDue();
}

void ConsoleHost::setFileCount(long n)
{
    m_fileCount = n;
}

void ConsoleHost::processEvents()
{
    if (m_progress && ++m_calls % CallsPerClockRead == 0)
        drawIfDue();
}

bool ConsoleHost::message(MessageKind kind, const std::string &text, MessageButtons buttons)
{
    (void)buttons;
    if (kind == MessageKind::Information) {
        m_informations.push_back(text);
        return true;
    }
    if (kind == MessageKind::Error)
        ++m_errors;
    else if (m_quiet)
        return true;
    finishProgress();
    m_err << "orvane-check: " << Tr(messageCaption(kind)) << ": " << oneLine(text) << '\n';
    return true;
}

void ConsoleHost::drawIfDue()
{
    const auto now = std::chrono::steady_clock::now();
    if (now < m_nextDraw)
        return;
    m_nextDraw = now + RedrawInterval;
    draw();
}

void ConsoleHost::draw()
{
    const std::string line = Tr(QT_TRANSLATE_NOOP("Orvane", "総ファイル数 ")) +
                             std::to_string(m_fileCount) + "  " + PrintableText(m_stage);
    m_err << "\r\x1b[K" << fitColumns(line, terminalColumns() - 1) << std::flush;
    m_lineShown = true;
}

void ConsoleHost::finishProgress()
{
    if (!m_lineShown)
        return;
    m_err << "\r\x1b[K" << std::flush;
    m_lineShown = false;
}

} // namespace orvane::cli
