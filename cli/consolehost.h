#pragma once

#include "base/host.h"

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace orvane::cli {

/// The host of the command-line checker. Warnings and errors go to standard
/// error at once, errors only when quiet; no box ever waits (a confirmation
/// counts as answered OK).
/// Information boxes, such as the summary at the end of a check, are kept for
/// the report. With progress on, the file count and the stage are drawn as
/// one line, redrawn at most every tenth of a second.
class ConsoleHost : public Host
{
public:
    ConsoleHost(std::ostream &err, bool progress, bool quiet = false);

    void setStatus(const std::string &text) override;
    void setCountPanel(long n) override { (void)n; }
    void clearCountPanel() override {}
    void setFileCount(long n) override;
    void processEvents() override;
    bool message(MessageKind kind, const std::string &text, MessageButtons buttons) override;
    void beep(Sound sound) override { (void)sound; }

    /// Removes the progress line, so that the report starts on a clean line.
    void finishProgress();

    /// Texts of the information boxes, in the order they came.
    const std::vector<std::string> &informations() const { return m_informations; }
    int errorCount() const { return m_errors; }

private:
    void drawIfDue();
    void draw();

    std::ostream &m_err;
    bool m_progress;
    bool m_quiet;
    bool m_lineShown = false;
    long m_fileCount = 0;
    std::string m_stage;
    uint32_t m_calls = 0;
    std::chrono::steady_clock::time_point m_nextDraw{};
    std::vector<std::string> m_informations;
    int m_errors = 0;
};

/// Text from disk made fit for a terminal line: decoded for display, and each
/// control character written as \t, \n, \r or \xNN, so that one name or link
/// never spans lines.
std::string PrintableText(const std::string &bytes);

} // namespace orvane::cli
