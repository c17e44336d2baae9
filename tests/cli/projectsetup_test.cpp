#include "cli/projectsetup.h"

#include "cli/options.h"
#include "project/project.h"
#include "project/projectview.h"
#include "settings/settings.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane::cli {
namespace {

using Strings = std::vector<std::string>;

/// A project view that writes every change into one log, so the order of the
/// project's operations across its lists shows.
class LoggingList : public ProjectListView
{
public:
    LoggingList(Strings &log, std::string name)
        : m_log(log)
        , m_name(std::move(name))
    {
    }
    void add(const std::string &text) override
    {
        m_items.push_back(text);
        m_log.push_back(m_name + "+" + text);
    }
    void deleteAt(int index) override
    {
        m_log.push_back(m_name + "-" + m_items[static_cast<size_t>(index)]);
        m_items.erase(m_items.begin() + index);
    }
    int indexOf(const std::string &text) const override
    {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i] == text)
                return static_cast<int>(i);
        }
        return -1;
    }
    std::string textAt(int index) const override
    {
        return index >= 0 && index < count() ? m_items[static_cast<size_t>(index)] : "";
    }
    void clear() override { m_items.clear(); }
    int count() const override { return static_cast<int>(m_items.size()); }

private:
    Strings &m_log;
    std::string m_name;
    Strings m_items;
};

class LoggingView : public ProjectView
{
public:
    ProjectListView &topFileList() override { return m_top; }
    ProjectListView &ignoreFileList() override { return m_ignore; }
    ProjectListView &wildCardList() override { return m_wild; }
    void setHomeDirLabel(const std::string &text) override { log.push_back("home=" + text); }
    void setServerRootLabel(const std::string &text) override { log.push_back("root=" + text); }
    void setMainTitle(const std::string &) override {}
    void setProjectTitle(const std::string &) override {}

    Strings log;

private:
    LoggingList m_top{log, "top"};
    LoggingList m_ignore{log, "ignore"};
    LoggingList m_wild{log, "wild"};
};

TEST(ProjectSetup, PathFromHome)
{
    const std::pair<const char *, const char *> cases[] = {
        {"index.html", "/site/index.html"},    {"sub/../a.html", "/site/a.html"},
        {"./sub//b.html", "/site/sub/b.html"}, {"tmp/", "/site/tmp/"},
        {"../other/c.html", "/other/c.html"},  {"/abs/./d.html", "/abs/d.html"},
    };
    for (const auto &[given, expected] : cases)
        EXPECT_EQ(PathFromHome("/site/", given), expected) << given;
}

TEST(ProjectSetup, ItemsArriveInTheOrderTopExcludePatternServerRoot)
{
    LoggingView view;
    Project project(view);
    CheckOptions options;
    options.topFiles = {"a.html", "sub/b.html"};
    options.excludeFiles = {"a.html", "c.html"};
    options.wildCards = {"*.bak", "drafts/", "/abs/Old"};
    options.serverRoot = "/www/root";
    AddCommandLineItems(project, options, "/site/", true, Settings{});

    // The exclusion of a.html comes after it was made a top page, so it ends
    // excluded only.
    const Strings expected = {
        "top+/SITE/A.HTML",   "top+/SITE/SUB/B.HTML", "ignore+/SITE/A.HTML",
        "top-/SITE/A.HTML",   "ignore+/SITE/C.HTML",  "wild+*.bak",
        "wild+/SITE/DRAFTS/", "wild+/abs/Old",        "root=/www/root/",
    };
    EXPECT_EQ(view.log, expected);
    EXPECT_EQ(project.TopFiles(), (Strings{"/SITE/SUB/B.HTML"}));
    EXPECT_EQ(project.ServerRoot(), "/www/root/");
}

TEST(ProjectSetup, DefaultPageIsTopOnlyForAPlainFolderWithoutTopPages)
{
    test::TempDir dir;
    dir.write("index.html", "");
    dir.write("home.htm", "");
    const std::string home = dir.path();
    const std::string upperHome = [&] {
        std::string s = home;
        for (char &c : s)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        return s;
    }();
    struct Case
    {
        const char *name;
        bool plainFolder;
        Strings tops;
        const char *defaultName;
        Strings expected;
    };
    const Case cases[] = {
        {"default page exists", true, {}, "index.html", {upperHome + "INDEX.HTML"}},
        {"other default page", true, {}, "home.htm", {upperHome + "HOME.HTM"}},
        {"default page missing", true, {}, "start.html", {}},
        {"explicit top wins", true, {"home.htm"}, "index.html", {upperHome + "HOME.HTM"}},
        {"project keeps its own", false, {}, "index.html", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LoggingView view;
        Project project(view);
        CheckOptions options;
        options.topFiles = c.tops;
        Settings settings;
        settings.DefaultFileName = c.defaultName;
        AddCommandLineItems(project, options, home, c.plainFolder, settings);
        EXPECT_EQ(project.TopFiles(), c.expected);
    }
}

} // namespace
} // namespace orvane::cli
