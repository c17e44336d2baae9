#include "base/strutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

TEST(StrUtil, AsciiUpperFoldsOnlyAsciiLetters)
{
    // "é" in UTF-8 and "ａ" (full-width a) in Shift-JIS hold bytes that a
    // locale-aware upper-casing would touch; ours must not.
    EXPECT_EQ(AsciiUpper("/site/Index.html"), "/SITE/INDEX.HTML");
    EXPECT_EQ(AsciiUpper("caf\xC3\xA9"), "CAF\xC3\xA9");
    EXPECT_EQ(AsciiUpper("\x82\x81z"), "\x82\x81Z");
    EXPECT_EQ(AsciiUpper("`az{@AZ["), "`AZ{@AZ[");
    std::string text("a\0b", 3);
    AsciiUpperInPlace(text);
    EXPECT_EQ(text, std::string("A\0B", 3));
}

TEST(StrUtil, CompareTextOrdersCaseInsensitivelyByByte)
{
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("a", "B"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_GT(CompareText("abc", "AB"), 0);
    // Bytes are compared unsigned: multi-byte text sorts after ASCII.
    EXPECT_LT(CompareText("z", "\xC3\xA9"), 0);
    // Folding happens before the comparison: "_" (0x5F) lies between "Z" and "a".
    EXPECT_LT(CompareText("a", "_"), 0);
    EXPECT_TRUE(SameText("Index.HTML", "index.html"));
    EXPECT_FALSE(SameText("index.htm", "index.html"));

    std::vector<std::string> names = {"b", "_x", "A", "\xC3\xA9", "a", "B1"};
    std::stable_sort(names.begin(), names.end(), TextLess());
    EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "b", "B1", "_x", "\xC3\xA9"}));
}

TEST(StrUtil, PathParts)
{
    const struct
    {
        const char *path, *name, *folder, *ext;
    } cases[] = {
        {"/site/a/page.html", "page.html", "/site/a/", ".html"},
        {"/site/a/", "", "/site/a/", ""},
        {"page", "page", "", ""},
        {"/site.d/page", "page", "/site.d/", ""},
        {"/site/archive.tar.gz", "archive.tar.gz", "/site/", ".gz"},
        {"/site/.htaccess", ".htaccess", "/site/", ".htaccess"},
        {"/site/name.", "name.", "/site/", "."},
        {"c:page.html", "c:page.html", "", ".html"}, // a colon splits nothing here
        {"", "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFileName(c.path), c.name);
        EXPECT_EQ(ExtractFilePath(c.path), c.folder);
        EXPECT_EQ(ExtractFileExt(c.path), c.ext);
    }
}

TEST(StrUtil, TrailingDelimiter)
{
    EXPECT_EQ(IncludeTrailingDelimiter("/www"), "/www/");
    EXPECT_EQ(IncludeTrailingDelimiter("/www/"), "/www/");
    EXPECT_EQ(IncludeTrailingDelimiter("//www//"), "//www//");
    EXPECT_EQ(IncludeTrailingDelimiter("a\\"), "a\\/");
    EXPECT_EQ(IncludeTrailingDelimiter(""), "");
    EXPECT_TRUE(HasTrailingDelimiter("/"));
    EXPECT_FALSE(HasTrailingDelimiter("/a"));
    EXPECT_FALSE(HasTrailingDelimiter(""));
}

TEST(StrUtil, PrefixesAndTrimming)
{
    EXPECT_TRUE(StartsWith("javascript:x", "javascript:"));
    EXPECT_FALSE(StartsWith("JavaScript:x", "javascript:"));
    EXPECT_FALSE(StartsWith("java", "javascript:"));
    EXPECT_TRUE(StartsWithText("JavaScript:x", "javascript:"));
    EXPECT_FALSE(StartsWithText("javascript :x", "javascript:"));
    EXPECT_TRUE(StartsWithText("abc", ""));
    EXPECT_EQ(TrimControl(" \t\r\n a b \x01\x1F "), "a b");
    EXPECT_EQ(TrimControl("\x80x\x80"), "\x80x\x80");
    EXPECT_EQ(TrimControl("   "), "");
}

TEST(StrUtil, FindEitherFindsTheFirstOfTwoBytes)
{
    constexpr size_t npos = std::string_view::npos;
    EXPECT_EQ(FindEither("a%20b&amp;", '%', '&'), 1u);
    EXPECT_EQ(FindEither("a&amp;%20", '%', '&'), 1u);
    EXPECT_EQ(FindEither("os.html#dir-fd?x", '?', '#'), 7u);
    // From an offset: an earlier hit is passed over, one at the offset counts.
    EXPECT_EQ(FindEither("#a#b", '?', '#', 1), 2u);
    EXPECT_EQ(FindEither("#a#b", '?', '#', 2), 2u);
    EXPECT_EQ(FindEither("plain.html", '%', '&'), npos);
    EXPECT_EQ(FindEither("", '%', '&'), npos);
    EXPECT_EQ(FindEither("ab%", '%', '&', 3), npos);
    EXPECT_EQ(FindEither("ab%", '%', '&', 10), npos);
    // Bytes above 0x7F are bytes like any other.
    EXPECT_EQ(FindEither("\xE3\x81\x82%", '%', '&'), 3u);
    EXPECT_EQ(FindEither(std::string_view("a\0b&", 4), '\0', '&'), 1u);
}

} // namespace
} // namespace orvane
