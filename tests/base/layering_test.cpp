#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

/// The engine, the project model, the settings and the shared helpers stay plain
/// C++, so the window, the command line and the tests drive the same code.
TEST(Layering, PlainLibrariesIncludeNoQtHeader)
{
    const std::regex qtInclude(R"(#\s*include\s*[<"](Q[A-Za-z]|qt[a-z]*/|Qt))");
    int checked = 0;
    for (const char *folder : {"base", "engine", "project", "settings", "cli", "newsprig"}) {
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

} // namespace
