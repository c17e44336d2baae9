#include "commands/knowneditors.h"

#include "commands/launcher.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <map>

namespace orvane {
namespace {

using Words = std::vector<std::string>;

// What each editor must be given to open "/my site/a.html" at line 12, as its
// own help or manual page documents it.
const std::map<std::string, Words> JumpToLine12{
    {"gedit", {"/my site/a.html", "+12"}},          {"gnome-text-editor", {"/my site/a.html"}},
    {"kate", {"--line", "12", "/my site/a.html"}},  {"kwrite", {"--line", "12", "/my site/a.html"}},
    {"mousepad", {"--line=12", "/my site/a.html"}}, {"pluma", {"+12", "/my site/a.html"}},
    {"featherpad", {"+12", "/my site/a.html"}},     {"geany", {"+12", "/my site/a.html"}},
    {"gvim", {"+12", "/my site/a.html"}},           {"emacs", {"+12", "/my site/a.html"}},
};

TEST(KnownEditors, TemplatesGiveEachEditorItsOwnSyntax)
{
    ASSERT_EQ(KnownEditors().size(), JumpToLine12.size());
    for (const KnownEditor &editor : KnownEditors()) {
        const auto expected = JumpToLine12.find(editor.program);
        ASSERT_NE(expected, JumpToLine12.end()) << editor.program;
        EXPECT_EQ(EditorArguments(editor.commandLineOption, "/my site/a.html"),
                  Words{"/my site/a.html"})
            << editor.program;
        EXPECT_EQ(TagJumpArguments(editor.tagJumpCommandLineOption, "12", "/my site/a.html"),
                  expected->second)
            << editor.program;
    }
}

TEST(KnownEditors, InstalledAreThoseInPathInTheTablesOrder)
{
    test::TempDir dir;
    const auto program = [&](const std::string &relative, mode_t mode) {
        const std::string path = dir.write(relative, "#!/bin/sh\n");
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    };
    const std::string kate = program("first/kate", 0755);
    const std::string gedit = program("second/gedit", 0755);
    program("third/gedit", 0755);
    program("first/emacs", 0644); // not executable
    dir.mkdir("first/gvim");      // a folder
    program("current/pluma", 0755);

    // The empty entry stands for the current folder, which holds pluma.
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir((dir.path() + "current").c_str()), 0);
    const std::vector<InstalledEditor> found =
        InstalledEditors(dir.path() + "first::" + dir.path() + "second:" + dir.path() + "third");
    ASSERT_EQ(::chdir(previous), 0);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_STREQ(found[0].editor.program, "gedit");
    EXPECT_EQ(found[0].path, gedit);
    EXPECT_STREQ(found[1].editor.program, "kate");
    EXPECT_EQ(found[1].path, kate);
    EXPECT_STREQ(found[1].editor.tagJumpCommandLineOption, "--line %N %F");

    EXPECT_TRUE(InstalledEditors(dir.path() + "nothing").empty());
}

} // namespace
} // namespace orvane
