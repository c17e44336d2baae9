#pragma once

// Only for test programs that link orvane_commands: the look-up is theirs.
#include "commands/browser.h"
#include "support/tempdir.h"

#include <map>
#include <string>
#include <vector>

namespace orvane::test {

/// A desktop look-up whose commands answer from a table and whose
/// application folders are temporary; it remembers every command asked.
struct FakeDesktop
{
    TempDir dir;
    /// The whole command line, words joined by blanks -> its output.
    std::map<std::string, std::string> answers;
    std::vector<std::string> asked;

    BrowserLookup lookup()
    {
        BrowserLookup l;
        l.run = [this](const std::vector<std::string> &argv) {
            std::string line;
            for (const std::string &w : argv)
                line += (line.empty() ? "" : " ") + w;
            asked.push_back(line);
            const auto it = answers.find(line);
            return it == answers.end() ? std::string() : it->second;
        };
        l.applicationDirs = {dir.path() + "user/applications", dir.path() + "system/applications"};
        return l;
    }
    /// A desktop entry below dir with the given Exec line.
    void entry(const std::string &relative, const std::string &exec)
    {
        dir.write(relative, "[Desktop Entry]\nType=Application\nName=B\nExec=" + exec + "\n");
    }
};

} // namespace orvane::test
