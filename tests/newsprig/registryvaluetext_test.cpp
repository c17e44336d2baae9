#include "newsprig/registryvaluetext.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

TEST(RegistryValueText, FormatsValueLinesAsRegistryExports)
{
    struct Case
    {
        const char *name;
        RegistryValue value;
        const char *line;
    };
    const Case cases[] = {
        {"Author", std::string("The Orvane developers"), R"("Author"="The Orvane developers")"},
        {"Path", std::string(R"(C:\dir "x")"), R"("Path"="C:\\dir \"x\"")"},
        {"Trailing", std::string("ends in \\"), R"("Trailing"="ends in \\")"},
        {"Empty", std::string(), R"("Empty"="")"},
        {"Na\"me\\", std::string("v"), R"("Na\"me\\"="v")"},
        {"", std::string("default"), R"(@="default")"},
        {"Japanese", std::string("日本語"), "\"Japanese\"=\"日本語\""},
        {"Build", std::uint32_t{2755}, R"("Build"=dword:00000ac3)"},
        {"Zero", std::uint32_t{0}, R"("Zero"=dword:00000000)"},
        {"Max", std::uint32_t{0xFFFFFFFF}, R"("Max"=dword:ffffffff)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatValueLine(c.name, c.value), c.line) << c.name;
}

TEST(RegistryValueText, RoundTripsEveryValue)
{
    const std::pair<std::string, RegistryValue> values[] = {
        {"Plain", std::string("text")},
        {"Backslashes", std::string(R"(\\server\share\)")},
        {"Quotes", std::string(R"("quoted" and \"escaped\")")},
        {"Equals", std::string(R"(a"=b)")},
        {"Empty", std::string()},
        {"Utf8", std::string("更新情報")},
        {"Na\"me", std::string("x")},
        {"", std::string("unnamed")},
        {"Build", std::uint32_t{2755}},
        {"Max", std::uint32_t{0xFFFFFFFF}},
    };
    RegistryValueText written;
    for (const auto &[name, value] : values)
        written.set(name, value);

    const RegistryValueText read(written.text());
    for (const auto &[name, value] : values) {
        const auto got = read.value(name);
        ASSERT_TRUE(got.has_value()) << name;
        EXPECT_EQ(*got, value) << name;
    }
    EXPECT_EQ(read.text(), written.text());
}

TEST(RegistryValueText, ReadsHandWrittenLines)
{
    const RegistryValueText text("\"Crlf\"=\"windows\"\r\n"
                                 "\"Upper\"=DWORD:00000AC3\r\n"
                                 "\"Short\"=dword:ac3\n"
                                 "\"Binary\"=hex:01,02\n"
                                 "\"Unclosed\"=\"no end\n"
                                 "\"Junk\"=\"text\" tail\n"
                                 "\"TooLong\"=dword:000000ac3\n"
                                 "\"NotHex\"=dword:0000xyz1\n"
                                 "\"NoDigits\"=dword:\n"
                                 "; a comment\n"
                                 "\"LastLine\"=\"no line end\"");
    EXPECT_EQ(text.value("Crlf"), RegistryValue(std::string("windows")));
    EXPECT_EQ(text.value("crlf"), RegistryValue(std::string("windows")));
    EXPECT_EQ(text.value("Upper"), RegistryValue(std::uint32_t{2755}));
    EXPECT_EQ(text.value("Short"), RegistryValue(std::uint32_t{2755}));
    EXPECT_EQ(text.value("LastLine"), RegistryValue(std::string("no line end")));
    for (const char *unknown :
         {"Binary", "Unclosed", "Junk", "TooLong", "NotHex", "NoDigits", "Missing", "; a comment"})
        EXPECT_FALSE(text.value(unknown).has_value()) << unknown;
}

TEST(RegistryValueText, SetReplacesInPlaceAndKeepsOtherLines)
{
    RegistryValueText text("; kept comment\n"
                           "\"First\"=\"1\"\n"
                           "\"build\"=hex:01,02\n"
                           "\"Last\"=\"3\"\n"
                           "\"BUILD\"=dword:00000001\n");
    text.set("Build", std::uint32_t{2755});
    text.set("First", std::string("one"));
    text.set("New", std::string("appended"));
    EXPECT_EQ(text.text(), "; kept comment\n"
                           "\"First\"=\"one\"\n"
                           "\"Build\"=dword:00000ac3\n"
                           "\"Last\"=\"3\"\n"
                           "\"New\"=\"appended\"\n");
}

TEST(RegistryValueText, EmptyTextHasNoLines)
{
    RegistryValueText text("");
    EXPECT_EQ(text.text(), "");
    EXPECT_FALSE(text.value("").has_value());
    text.set("A", std::string("b"));
    EXPECT_EQ(text.text(), "\"A\"=\"b\"\n");
}

TEST(RegistryValueText, OnlyLineFreeTextFitsOnALine)
{
    EXPECT_TRUE(CanHoldInLine("plain \\ \" text"));
    EXPECT_TRUE(CanHoldInLine(""));
    EXPECT_FALSE(CanHoldInLine("two\nlines"));
    EXPECT_FALSE(CanHoldInLine("carriage\rreturn"));
    EXPECT_FALSE(CanHoldInLine(std::string_view("nul\0byte", 8)));
}

} // namespace
} // namespace orvane
