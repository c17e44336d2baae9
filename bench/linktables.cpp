// Times what the check makes for "who links here" and for the hints of
// invalid links, apart from the check itself and from any report:
//
//   orvane-linktables-bench SITE
//
// checks the folder SITE as orvane-check does (the default settings, the
// default file as the top page), then makes the referrer table and works out
// the hint of every invalid link, and prints each step's time, the table's
// size and the peak memory before and after. bench/run makes the sites
// (bench/sites/site-N).
#include "base/host.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/linkhints.h"
#include "engine/referrers.h"
#include "engine/site.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "settings/settings.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using namespace orvane;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-linktables-bench SITE\n");
        return 2;
    }
    std::string home = argv[1];
    if (home.back() != '/')
        home += '/';
    SilentHost host(true);
    Settings settings;
    MemoryProjectView view;
    Project project(view);
    Site site(host, settings, project);
    project.AddTopFile(home + settings.DefaultFileName);

    auto start = std::chrono::steady_clock::now();
    CheckFolder(site, home, true);
    const double check = secondsSince(start);
    const long checkPeak = peakMegabytes();

    start = std::chrono::steady_clock::now();
    const ReferrerTable &table = site.Referrers();
    const double referrers = secondsSince(start);
    size_t rows = 0;
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        rows += table.Of(*site.FileObjects[i]).size();

    start = std::chrono::steady_clock::now();
    const LinkHints &hints = site.Hints();
    size_t invalid = 0;
    size_t hinted = 0;
    for (size_t i = 0; i < site.FileObjects.size(); ++i) {
        const FileObject &page = *site.FileObjects[i];
        for (size_t k = 0; k < page.InvalidLinks.size(); ++k) {
            ++invalid;
            hinted += hints.For(page, k) ? 1 : 0;
        }
    }
    const double hinting = secondsSince(start);

    std::printf("files %zu, check %.3f s, peak %ld MB\n", site.FileObjects.size(), check,
                checkPeak);
    std::printf("referrers: %.3f s (%.1f %% of the check), %zu rows, %.1f MB\n", referrers,
                100 * referrers / check, rows, static_cast<double>(table.MemoryUse()) / 1e6);
    std::printf("hints: %.3f s (%.1f %% of the check) for %zu invalid links, %zu hinted\n", hinting,
                100 * hinting / check, invalid, hinted);
    std::printf("peak after both: %ld MB (+%.1f %%)\n", peakMegabytes(),
                100.0 * static_cast<double>(peakMegabytes() - checkPeak) /
                    static_cast<double>(checkPeak));
    return 0;
}
