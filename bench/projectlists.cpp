// Times the work a project's lists cause when they are long: opening a project
// with N top pages, N excluded files and N patterns, editing it, and saving it.
//
//   orvane-project-bench [--entries N] [--widgets]
//
// The site is a tree of 2N files held in memory (the scan of a real site of
// that size is what bench/run times); "open" reads the project file and runs
// the analysis that opening a project runs after the scan, which walks both
// lists and marks every entry in the tree; "prune" opens the same project on a
// tree where none of its files exists, so the analysis drops every entry;
// "edit" adds and removes one entry of each list, excludes a folder of 1,000
// files and takes 1,000 excluded files off the list one by one, as the
// project window does with a selection; "save" writes the project file. "open"
// is also given in its two parts, "read" (the file into the lists) and
// "analyse" (the lists applied to the tree). With
// --widgets the lists are the list boxes of the window (offscreen) instead of
// lists in memory.
//
// Prints one line of key=value figures, times in seconds.
#include "base/host.h"
#include "base/strutil.h"
#include "commands/treecommands.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/reachability.h"
#include "engine/scanfolder.h"
#include "engine/site.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "project/projectfile.h"
#include "settings/settings.h"

#ifdef ORVANE_BENCH_WIDGETS
#include "ui/widgetlistview.h"

#include <QApplication>
#include <QListWidget>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace orvane;

#ifdef ORVANE_BENCH_WIDGETS
/// The project window's three lists as list boxes, without the window.
class WidgetProjectView : public ProjectView
{
public:
    ProjectListView &topFileList() override { return m_topView; }
    ProjectListView &ignoreFileList() override { return m_ignoreView; }
    ProjectListView &wildCardList() override { return m_wildView; }
    void setHomeDirLabel(const std::string &) override {}
    void setServerRootLabel(const std::string &) override {}
    void setMainTitle(const std::string &) override {}
    void setProjectTitle(const std::string &) override {}

private:
    QListWidget m_top, m_ignore, m_wild;
    WidgetListView m_topView{m_top, false};
    WidgetListView m_ignoreView{m_ignore, true};
    WidgetListView m_wildView{m_wild, false};
};
#endif

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string number(long i)
{
    char text[24];
    std::snprintf(text, sizeof text, "%06ld", i);
    return text;
}

/// 2N files in folders of 1,000: the first N are the top pages, the others
/// are excluded.
void buildTree(Site &site, const std::string &home, long entries)
{
    site.tree.Root()->SetText(home);
    TreeNode *folder = nullptr;
    for (long i = 0; i < 2 * entries; ++i) {
        if (i % 1000 == 0) {
            folder = site.tree.AddChild(site.tree.Root(), "f" + number(i / 1000));
            site.FolderNodes.push_back(folder);
        }
        // Not a regular file to the tree: nothing is read from disk.
        AddFileNode(site, home + folder->Text() + "/p" + number(i) + ".html", folder, false);
    }
}

void writeProjectFile(const std::string &path, const std::string &home, long entries)
{
    std::ofstream out(path, std::ios::binary);
    out << "[OrvaneProject]\r\nHomeDir=" << home << "\r\nServerRoot=\r\n";
    const auto file = [&](long i) {
        return AsciiUpper(home + "f" + number(i / 1000) + "/p" + number(i) + ".html");
    };
    for (long i = 0; i < entries; ++i)
        out << "TopFile" << i << "=" << file(i) << "\r\n";
    for (long i = 0; i < entries; ++i)
        out << "IgnoreFile" << i << "=" << file(entries + i) << "\r\n";
    for (long i = 0; i < entries; ++i)
        out << "WildCards" << i << "=*.x" << number(i) << "\r\n";
}

struct Bench
{
    SilentHost host{true};
    Settings settings;
    std::unique_ptr<ProjectView> view;
    std::unique_ptr<Project> project;
    std::unique_ptr<Site> site;

    explicit Bench(std::unique_ptr<ProjectView> projectView)
        : view(std::move(projectView))
        , project(std::make_unique<Project>(*view))
        , site(std::make_unique<Site>(host, settings, *project))
    {
    }
};

void edit(Site &site, Project &project, long entries)
{
    const std::string home = site.tree.Root()->Text();
    project.AddTopFile(home + "new.html");
    project.RemoveTopFile(home + "new.html");
    project.RemoveTopFile(project.TopFiles().front());
    project.AddIgnoreFile(home + "new.html");
    project.RemoveIgnoreFile(home + "new.html");
    project.AddWildCard("*.new");
    project.RemoveWildCard(project.WildCards().front());
    // The last folder of top pages: 1,000 files excluded at once.
    site.tree.Select(site.tree.Root()->Child(static_cast<size_t>(entries / 1000 - 1)));
    IgnoreItemClick(site);
    for (int i = 0; i < 1000 && !project.IgnoreFiles().empty(); ++i)
        project.RemoveIgnoreFile(project.IgnoreFiles()[project.IgnoreFiles().size() / 2]);
}

} // namespace

int main(int argc, char **argv)
{
    long entries = 100000;
    bool widgets = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--entries" && i + 1 < argc)
            entries = std::atol(argv[++i]);
        else if (arg == "--widgets")
            widgets = true;
        else {
            std::fprintf(stderr, "usage: orvane-project-bench [--entries N] [--widgets]\n");
            return 2;
        }
    }
    if (entries < 1000)
        entries = 1000;
#ifdef ORVANE_BENCH_WIDGETS
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const auto makeView = [&]() -> std::unique_ptr<ProjectView> {
        if (widgets)
            return std::make_unique<WidgetProjectView>();
        return std::make_unique<MemoryProjectView>();
    };
#else
    if (widgets) {
        std::fprintf(stderr, "orvane-project-bench: built without the window\n");
        return 2;
    }
    const auto makeView = [] { return std::make_unique<MemoryProjectView>(); };
#endif
    std::string folder = std::filesystem::temp_directory_path() / "orvane-project-bench-XXXXXX";
    if (!mkdtemp(folder.data()))
        return 1;
    const std::string home = "/nowhere/site/";
    const std::string projectPath = folder + "/site.ovp";
    const std::string savedPath = folder + "/saved.ovp";
    writeProjectFile(projectPath, home, entries);

    Bench bench(makeView());
    buildTree(*bench.site, home, entries);
    const double read = seconds([&] { ReadProjectFile(projectPath, *bench.project); });
    const double analyse = seconds([&] { AnalyseReachability(*bench.site); });
    const double open = read + analyse;
    const size_t tops = bench.project->TopFiles().size();
    const double editing = seconds([&] { edit(*bench.site, *bench.project, entries); });
    const double save = seconds([&] { WriteProjectFile(savedPath, *bench.project); });

    Bench empty(makeView());
    empty.site->tree.Root()->SetText(home);
    const double prune = seconds([&] {
        ReadProjectFile(projectPath, *empty.project);
        AnalyseReachability(*empty.site);
    });

    std::printf("entries=%ld view=%s open=%.3f (read=%.3f analyse=%.3f) edit=%.3f save=%.3f "
                "prune=%.3f tops_kept=%zu left_after_prune=%zu\n",
                entries, widgets ? "widgets" : "memory", open, read, analyse, editing, save, prune,
                tops, empty.project->TopFiles().size() + empty.project->IgnoreFiles().size());
    unlink(projectPath.c_str());
    unlink(savedPath.c_str());
    rmdir(folder.c_str());
    return 0;
}
