#include "commands/defaultapplication.h"

#include "support/fakedesktop.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::FakeDesktop;
using Words = std::vector<std::string>;

TEST(DefaultApplication, MimeTypeByExtensionKnowsASitesFilesOnly)
{
    const std::pair<const char *, const char *> rows[] = {
        {"/s/index.html", "text/html"},
        {"/s/INDEX.HTM", "text/html"},
        {"/s/ssi.shtml", "text/html"},
        {"/s/a.xhtml", "application/xhtml+xml"},
        {"/s/p.JpG", "image/jpeg"},
        {"/s/p.jpeg", "image/jpeg"},
        {"/s/p.gif", "image/gif"},
        {"/s/p.png", "image/png"},
        {"/s/p.xpm", "image/x-xpixmap"},
        {"/s/p.xbm", "image/x-xbitmap"},
        {"/s/p.svg", "image/svg+xml"},
        {"/s/notes.txt", ""},
        {"/s/page.php", ""},
        {"/s/README", ""},
        {"/s/dir.html/README", ""},
        {"/s/.html", "text/html"},
    };
    for (const auto &[path, type] : rows)
        EXPECT_EQ(MimeTypeByExtension(path), type) << path;
}

TEST(DefaultApplication, OtherExtensionsAskTheDesktopForTheType)
{
    FakeDesktop d;
    d.answers["xdg-mime query filetype /s/page.php"] = "application/x-php; charset=us-ascii\n";
    d.answers["xdg-mime query filetype /s/odd.x"] = "xdg-mime: file does not exist\n";
    d.answers["xdg-mime query filetype /s/slash.x"] = "/\n";
    EXPECT_EQ(FileMimeType(d.lookup(), "/s/index.html"), "text/html");
    EXPECT_TRUE(d.asked.empty()) << "a page's extension is enough";
    EXPECT_EQ(FileMimeType(d.lookup(), "/s/page.php"), "application/x-php");
    EXPECT_EQ(FileMimeType(d.lookup(), "/s/odd.x"), "") << "an error text is no type";
    EXPECT_EQ(FileMimeType(d.lookup(), "/s/slash.x"), "");
    EXPECT_EQ(FileMimeType(d.lookup(), "/s/unanswered.x"), "");
    EXPECT_EQ(FileMimeType(BrowserLookup{}, "/s/page.php"), "") << "no desktop, no type";
}

TEST(DefaultApplication, TheTypesApplicationElseTheFallbacks)
{
    FakeDesktop d;
    d.entry("user/applications/php-editor.desktop", "php-editor %f");
    d.entry("system/applications/web.desktop", "web %u");
    d.answers["xdg-mime query filetype /s/a.php"] = "application/x-php\n";
    d.answers["xdg-mime query filetype /s/b.asp"] = "application/x-asp\n";
    d.answers["xdg-mime query default application/x-php"] = "php-editor.desktop\n";
    d.answers["xdg-mime query default text/html"] = "web.desktop\n";

    EXPECT_EQ(DefaultApplicationFor(d.lookup(), "/s/a.php", "text/html").program, "php-editor");
    EXPECT_EQ(DefaultApplicationFor(d.lookup(), "/s/b.asp", "text/html").program, "web");
    EXPECT_TRUE(DefaultApplicationFor(d.lookup(), "/s/b.asp", "").empty());

    d.asked.clear();
    EXPECT_TRUE(DefaultApplicationFor(d.lookup(), "/s/p.png", "").empty());
    EXPECT_EQ(d.asked, Words{"xdg-mime query default image/png"})
        << "an empty type is never asked for";
    d.asked.clear();
    EXPECT_EQ(DefaultApplicationFor(d.lookup(), "/s/i.html", "text/html").program, "web");
    EXPECT_EQ(d.asked, Words{"xdg-mime query default text/html"}) << "the same type once";
}

} // namespace
} // namespace orvane
