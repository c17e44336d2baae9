#include "base/usertext.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

std::string toUpper(const char *context, const char *source)
{
    std::string text = std::string(context) + ":" + source;
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

/// Resets the translator however the test ends.
struct TranslatorReset
{
    ~TranslatorReset() { SetTextTranslator(nullptr); }
};

TEST(FillPlaceholders, PutsArgumentsInPlaceAndLeavesOtherPercentSignsAlone)
{
    EXPECT_EQ(FillPlaceholders("%1\r\nが見つかりません", {"/site/a.html"}),
              "/site/a.html\r\nが見つかりません");
    EXPECT_EQ(FillPlaceholders("%2 then %1", {"one", "two"}), "two then one");
    EXPECT_EQ(FillPlaceholders("%1%1", {"x"}), "xx");
    // An argument is never searched again: a path may hold "%2".
    EXPECT_EQ(FillPlaceholders("%1 / %2", {"a%2b", "c"}), "a%2b / c");
    EXPECT_EQ(FillPlaceholders("%F %N 100% %0 %3", {"a"}), "%F %N 100% %0 %3");
    EXPECT_EQ(FillPlaceholders("end %", {"a"}), "end %");
    EXPECT_EQ(FillPlaceholders("", {"a"}), "");
}

TEST(Tr, WithoutTranslatorGivesTheTextAsWrittenAndWithOneAsksIt)
{
    TranslatorReset reset;
    EXPECT_EQ(Tr(QT_TRANSLATE_NOOP("Orvane", "処理中")), "処理中");
    EXPECT_EQ(Tr("%1 - page", {"a.html"}), "a.html - page");
    SetTextTranslator(&toUpper);
    EXPECT_EQ(Tr("abc"), "ORVANE:ABC");
    // The format is translated, the argument is not.
    EXPECT_EQ(Tr("%1 - page", {"a.html"}), "ORVANE:a.html - PAGE");
    SetTextTranslator(nullptr);
    EXPECT_EQ(Tr("abc"), "abc");
}

} // namespace
} // namespace orvane
