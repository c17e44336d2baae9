// Times the extraction of links apart from everything else the check does:
//
//   orvane-extract-bench [--rounds N] SITE
//
// reads every page of the folder SITE (the files the default settings take
// for pages) into memory first, then extracts each page's links,
// anchors and ids on one thread as the scan's workers do (comments removed,
// values found, lists sorted), N rounds (default 5). It prints the bytes and
// pages and the fastest round of extraction, in all and per byte. Set next to
// orvane-readfloor, it shows how much time extraction alone takes, whatever
// else the check does.
#include "base/host.h"
#include "base/strutil.h"
#include "engine/linkextract.h"
#include "engine/readfileall.h"
#include "settings/settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace orvane;
namespace fs = std::filesystem;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::string> pagesUnder(const fs::path &site)
{
    const Settings defaults;
    std::vector<std::string> pages;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(site)) {
        const std::string path = entry.path().string();
        if (entry.is_regular_file() &&
            ClassifyExtension(defaults, AsciiUpper(ExtractFileExt(path))) == FileKind::html)
            pages.push_back(path);
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

} // namespace

int main(int argc, char **argv)
{
    int rounds = 5;
    int arg = 1;
    if (argc == 4 && std::strcmp(argv[1], "--rounds") == 0) {
        rounds = std::max(1, std::atoi(argv[2]));
        arg = 3;
    }
    if (argc != arg + 1) {
        std::fprintf(stderr, "usage: orvane-extract-bench [--rounds N] SITE\n");
        return 2;
    }
    SilentHost host(true);
    std::vector<std::string> paths;
    try {
        paths = pagesUnder(argv[arg]);
    } catch (const fs::filesystem_error &e) {
        std::fprintf(stderr, "orvane-extract-bench: %s\n", e.what());
        return 2;
    }

    std::vector<std::string> texts;
    texts.reserve(paths.size());
    unsigned long long bytes = 0;
    for (const std::string &path : paths) {
        try {
            texts.push_back(ReadFileAll(path, host));
            bytes += texts.back().size();
        } catch (const OrvaneError &) {
            // A page the check could not read has no links either.
        }
    }

    double best = 0;
    unsigned long long links = 0;
    unsigned long long ids = 0;
    for (int round = 0; round < rounds; ++round) {
        links = ids = 0;
        std::vector<std::string> copies = texts; // extraction changes its text
        const auto start = std::chrono::steady_clock::now();
        for (std::string &text : copies) {
            const PreparedPage page = PreparePage(std::move(text), ExtractOptions{});
            links += page.lists.links.size();
            ids += page.lists.targets.size();
        }
        const double seconds = secondsSince(start);
        best = round == 0 ? seconds : std::min(best, seconds);
    }
    std::printf("pages %zu, %.1f MB, %llu distinct links, %llu ids\n", texts.size(), bytes / 1e6,
                links, ids);
    std::printf("extraction (one thread) %.3f s, %.2f ns a byte (best of %d)\n", best,
                bytes ? best * 1e9 / static_cast<double>(bytes) : 0.0, rounds);
    return 0;
}
