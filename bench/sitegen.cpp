// Writes a synthetic static web site for benchmarking the checker. The same
// arguments always give the same site, byte for byte.
//
// Layout: index.html at the top, then pages p1.html ... in folders
// dNN/sNN/ (50 pages a folder, 20 folders a group), each folder with four
// small images, one of them linked from nowhere. Every page defines four
// anchors and makes `links` links (20 by default): a chain to the next page (so that every
// page that is meant to be reachable is), random pages with and without
// fragments, a fragment of its own, images, a stylesheet, the home page,
// external and mail links, now and then a missing page or anchor, and a
// link hidden in a comment. Every 97th page is linked from nowhere, every
// 100th page carries a META refresh.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr long PagesPerFolder = 50;
constexpr long FoldersPerGroup = 20;
constexpr long OrphanEvery = 97;
constexpr long RefreshEvery = 100;

/// splitmix64: tiny, fast and the same everywhere.
class Random
{
public:
    explicit Random(uint64_t seed)
        : m_state(seed)
    {
    }
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    long below(long n) { return static_cast<long>(next() % static_cast<uint64_t>(n)); }
    bool chance(long percent) { return below(100) < percent; }

private:
    uint64_t m_state;
};

struct Params
{
    long pages = 10000;
    long links = 20;
    uint64_t seed = 1;
    fs::path out;
};

bool isOrphan(long page)
{
    return page % OrphanEvery == 0;
}

long folderOf(long page)
{
    return (page - 1) / PagesPerFolder;
}

std::string folderPath(long folder)
{
    return "d" + std::to_string(folder / FoldersPerGroup) + "/s" +
           std::to_string(folder % FoldersPerGroup) + "/";
}

std::string pageName(long page)
{
    return page == 0 ? "index.html" : "p" + std::to_string(page) + ".html";
}

/// Path of a file in folder `to` (-1: the top folder) as written on a page in
/// folder `from`.
std::string relative(long from, long to, const std::string &name)
{
    if (from == to)
        return name;
    const std::string up = from < 0 ? "" : "../../";
    return up + (to < 0 ? "" : folderPath(to)) + name;
}

long folderOfPage(long page)
{
    return page == 0 ? -1 : folderOf(page);
}

class SiteWriter
{
public:
    explicit SiteWriter(const Params &params)
        : m_params(params)
        , m_random(params.seed)
    {
    }

    void write();

private:
    long randomTarget()
    {
        for (;;) {
            const long page = 1 + m_random.below(m_params.pages - 1);
            if (!isOrphan(page))
                return page;
        }
    }
    long nextReachable(long page) const
    {
        long next = page + 1;
        while (next < m_params.pages && isOrphan(next))
            ++next;
        return next < m_params.pages ? next : 0;
    }
    std::string pageLink(long from, long to) const
    {
        return relative(folderOfPage(from), folderOfPage(to), pageName(to));
    }
    void writePage(long page);
    std::string links(long page);
    void writeFolderImages(long folder);
    void writeFile(const std::string &relativePath, const std::string &text);

    const Params &m_params;
    Random m_random;
    std::string m_filler;
};

std::string SiteWriter::links(long page)
{
    const long here = folderOfPage(page);
    std::string out;
    const auto a = [&](const std::string &href, const std::string &text) {
        out += "<li><a href=\"" + href + "\">" + text + "</a></li>\n";
    };
    long made = 0;
    const auto budget = [&] { return made++ < m_params.links; };
    if (budget())
        a(pageLink(page, nextReachable(page)), "next");
    if (budget())
        a("#s1", "section 1");
    if (budget())
        out += "<link rel=\"stylesheet\" href=\"" + relative(here, -1, "site.css") + "\">\n";
    if (budget())
        a(relative(here, -1, "index.html"), "home");
    if (budget())
        a("http://example.com/page/" + std::to_string(page), "elsewhere");
    if (budget())
        a("mailto:web@example.com", "mail");
    // Not a link: comments do not count.
    out += "<!-- <a href=\"old" + std::to_string(page) + ".html\">old</a> -->\n";
    for (int i = 0; i < 3 && budget(); ++i) {
        const long folder = m_random.below(folderOf(m_params.pages - 1) + 1);
        const char *image[] = {"a.gif", "b.gif", "c.gif"};
        out += "<img src=\"" + relative(here, folder, image[m_random.below(3)]) + "\" alt=\"\">\n";
    }
    if (budget()) {
        if (m_random.chance(25))
            a("missing" + std::to_string(page) + ".html", "missing");
        else
            a(pageLink(page, randomTarget()), "another");
    }
    while (budget()) {
        const long target = randomTarget();
        std::string href = pageLink(page, target);
        if (m_random.chance(30))
            href += m_random.chance(10) ? "#gone" : "#s" + std::to_string(m_random.below(4));
        a(href, "page " + std::to_string(target));
    }
    return out;
}

void SiteWriter::writePage(long page)
{
    std::string text = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n";
    if (page % RefreshEvery == 1 && page > 1)
        text += "<meta http-equiv=\"refresh\" content=\"30; URL=" +
                pageLink(page, nextReachable(page)) + "\">\n";
    text += "<title>Page " + std::to_string(page) + "</title>\n</head>\n<body>\n";
    for (int s = 0; s < 4; ++s) {
        text += "<h2><a name=\"s" + std::to_string(s) + "\">Section " + std::to_string(s) +
                "</a></h2>\n";
        text += m_filler;
    }
    text += "<ul>\n" + links(page) + "</ul>\n</body>\n</html>\n";
    writeFile(relative(-1, folderOfPage(page), pageName(page)), text);
}

void SiteWriter::writeFolderImages(long folder)
{
    // A 1x1 GIF.
    static const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\x2a\x7a\xb9\x00\x00\x00"
                                 "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                                 35);
    for (const char *name : {"a.gif", "b.gif", "c.gif", "unused.gif"})
        writeFile(folderPath(folder) + name, gif);
}

void SiteWriter::writeFile(const std::string &relativePath, const std::string &text)
{
    const fs::path path = m_params.out / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
        std::cerr << "orvane-sitegen: cannot write " << path << '\n';
        std::exit(1);
    }
}

void SiteWriter::write()
{
    for (int i = 0; i < 4; ++i)
        m_filler +=
            "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod "
            "tempor incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, "
            "quis nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo.</p>\n";
    writeFile("site.css", "body { font-family: sans-serif; }\n");
    for (long page = 0; page < m_params.pages; ++page)
        writePage(page);
    if (m_params.pages > 1) {
        for (long folder = 0; folder <= folderOf(m_params.pages - 1); ++folder)
            writeFolderImages(folder);
    }
}

long number(const char *text, const char *what)
{
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 1) {
        std::cerr << "orvane-sitegen: " << what << " needs a positive number\n";
        std::exit(2);
    }
    return value;
}

Params parse(int argc, char **argv)
{
    Params params;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--pages" && hasValue)
            params.pages = number(argv[++i], "--pages");
        else if (arg == "--links" && hasValue)
            params.links = number(argv[++i], "--links");
        else if (arg == "--seed" && hasValue)
            params.seed = static_cast<uint64_t>(number(argv[++i], "--seed"));
        else if (params.out.empty() && !arg.empty() && arg[0] != '-')
            params.out = arg;
        else {
            std::cerr << "usage: orvane-sitegen [--pages N] [--links N] [--seed N] FOLDER\n";
            std::exit(2);
        }
    }
    if (params.pages < 2)
        params.pages = 2; // the home page and one page to link to
    if (params.out.empty()) {
        std::cerr << "usage: orvane-sitegen [--pages N] [--links N] [--seed N] FOLDER\n";
        std::exit(2);
    }
    return params;
}

} // namespace

int main(int argc, char **argv)
{
    const Params params = parse(argc, argv);
    if (fs::exists(params.out) && !fs::is_empty(params.out)) {
        std::cerr << "orvane-sitegen: " << params.out << " is not empty\n";
        return 2;
    }
    SiteWriter(params).write();
    return 0;
}
