#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// The engine, the project model, the settings and the shared helpers stay plain
/// C++, so the window, the command line and the tests drive the same code.
TEST(Layering, PlainLibrariesIncludeNoQtHeader)
{
    const std::regex qtInclude(R"(#\s*include\s*[<"](Q[A-Za-z]|qt[a-z]*/|Qt))");
    int checked = 0;
    for (const char *folder :
         {"base", "engine", "commands", "project", "settings", "cli", "newsprig"}) {
        const fs::path dir = fs::path(ORVANE_SOURCE_DIR) / folder;
        if (!fs::exists(dir))
            continue;
        for (const auto &entry : fs::recursive_directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp")
                continue;
            std::ifstream in(entry.path());
            std::string line;
            while (std::getline(in, line))
                EXPECT_FALSE(std::regex_search(line, qtInclude)) << entry.path() << ": " << line;
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

/// Each folder includes only from the folders below it: the analysis never
/// reaches for the commands that act on files and the desktop, and nothing
/// below the programs includes from them.
TEST(Layering, IncludesPointOnlyDownwards)
{
    const std::regex include(R"re(#\s*include\s*"([a-z]+)/)re");
    const std::vector<std::pair<std::string, std::vector<std::string>>> allowed = {
        {"base", {"base"}},
        {"settings", {"base", "settings"}},
        {"project", {"base", "project"}},
        {"engine", {"base", "settings", "project", "engine"}},
        {"commands", {"base", "settings", "project", "engine", "commands"}},
        {"translations", {"base", "settings", "translations"}},
        {"cli", {"base", "settings", "project", "engine", "commands", "translations", "cli"}},
    };
    int checked = 0;
    for (const auto &[folder, below] : allowed) {
        for (const auto &entry : fs::directory_iterator(fs::path(ORVANE_SOURCE_DIR) / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp")
                continue;
            std::ifstream in(entry.path());
            std::string line;
            std::smatch match;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, match, include))
                    continue;
                ++checked;
                EXPECT_NE(std::find(below.begin(), below.end(), match[1].str()), below.end())
                    << entry.path() << ": " << line;
            }
        }
    }
    EXPECT_GT(checked, 50);
}

} // namespace
