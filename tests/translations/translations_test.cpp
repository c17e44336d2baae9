#include "base/replaceall.h"
#include "base/usertext.h"
#include "support/tempdir.h"
#include "translations/translator.h"

#include <QString>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const fs::path SourceDir = ORVANE_SOURCE_DIR;
const fs::path TsFile = SourceDir / "translations" / "orvane_en.ts";

std::string readAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Message
{
    std::string context;
    std::string source;
    std::string translation;
    std::string type; // the translation's type attribute: "unfinished", "vanished"...
};

std::string unescape(std::string text)
{
    const std::pair<const char *, const char *> entities[] = {
        {"<byte value=\"xd\"/>", "\r"},
        {"&lt;", "<"},
        {"&gt;", ">"},
        {"&quot;", "\""},
        {"&apos;", "'"},
        {"&amp;", "&"},
    };
    for (const auto &[entity, character] : entities)
        text = ReplaceAll(text, entity, character);
    return text;
}

/// The text between the first open and the next close after it; empty when
/// either is missing.
std::string_view between(std::string_view text, std::string_view open, std::string_view close)
{
    const size_t begin = text.find(open);
    if (begin == std::string_view::npos)
        return {};
    const size_t from = begin + open.size();
    const size_t end = text.find(close, from);
    return end == std::string_view::npos ? std::string_view() : text.substr(from, end - from);
}

/// The messages of a translation file, read the plain way lupdate writes them.
/// Scanned by hand: a regular expression over a long message (the checker's
/// help) recurses deep enough to overflow the stack of an instrumented build.
std::vector<Message> readMessages(const std::string &ts)
{
    constexpr auto npos = std::string_view::npos;
    const std::string_view all(ts);
    std::vector<Message> messages;
    for (size_t at = all.find("<context>"); at != npos; at = all.find("<context>", at + 1)) {
        const std::string_view block = all.substr(at, all.find("</context>", at) - at);
        const std::string context(between(block, "<name>", "</name>"));
        for (size_t m = block.find("<message>"); m != npos; m = block.find("<message>", m + 1)) {
            const std::string_view message = block.substr(m, block.find("</message>", m) - m);
            const size_t tag = message.find("<translation");
            const size_t tagEnd = message.find('>', tag);
            if (tag == npos || tagEnd == npos)
                continue;
            const std::string_view open = message.substr(tag, tagEnd + 1 - tag);
            const std::string type(between(open, "type=\"", "\""));
            std::string_view translation;
            if (open.substr(open.size() - 2) != "/>")
                translation = between(message.substr(tag), ">", "</translation>");
            messages.push_back({context,
                                unescape(std::string(between(message, "<source>", "</source>"))),
                                unescape(std::string(translation)), type});
        }
    }
    return messages;
}

/// Puts the program's own language back however a test ends.
struct JapaneseAfterwards
{
    ~JapaneseAfterwards() { UseLanguage(InterfaceLanguage::Japanese); }
};

/// The translation file is what lupdate makes of today's code, and every text
/// in it is translated: a new tr() or QT_TRANSLATE_NOOP text without English,
/// or an entry whose text left the code, fails here.
TEST(Translations, EveryTextHasAFinishedTranslation)
{
    TempDir dir;
    const fs::path fresh = fs::path(dir.path()) / "orvane_en.ts";
    fs::copy_file(TsFile, fresh);
    const std::string command = "\"" + (SourceDir / "tools" / "update-translations").string() +
                                "\" \"" + fresh.string() + "\" >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0)
        << "tools/update-translations failed (Debian: qt6-l10n-tools has lupdate)";

    const std::vector<Message> stored = readMessages(readAll(TsFile));
    const std::vector<Message> updated = readMessages(readAll(fresh));
    ASSERT_GT(stored.size(), 150u);
    for (const Message &m : stored) {
        EXPECT_EQ(m.type, "") << m.context << ": " << m.source;
        EXPECT_NE(m.translation, "") << m.context << ": " << m.source;
    }
    for (const Message &m : updated)
        EXPECT_EQ(m.type, "") << "run tools/update-translations and translate: " << m.context
                              << ": " << m.source;
    EXPECT_EQ(updated.size(), stored.size()) << "run tools/update-translations";
}

/// The plain libraries are translated in one context, the one Tr() asks.
TEST(Translations, PlainLibrariesMarkTheirTextsInTheirOneContext)
{
    const std::regex mark(R"re(QT_TRANSLATE_NOOP\(\s*"([^"]*)")re");
    int marks = 0;
    for (const char *folder : {"base", "settings", "project", "engine", "commands", "cli"}) {
        for (const auto &entry : fs::directory_iterator(SourceDir / folder)) {
            const std::string text = readAll(entry.path());
            for (auto m = std::sregex_iterator(text.begin(), text.end(), mark);
                 m != std::sregex_iterator(); ++m) {
                EXPECT_EQ((*m)[1], TextContext) << entry.path();
                ++marks;
            }
        }
    }
    EXPECT_GT(marks, 60);
}

/// The built .qm file holds every translation of the .ts file, where the
/// programs look for it.
TEST(Translations, TheBuiltFileTranslatesEveryText)
{
    QTranslator translator;
    ASSERT_TRUE(
        translator.load(QStringLiteral("orvane_en"), QString::fromStdString(TranslationsFolder())))
        << TranslationsFolder();
    int checked = 0;
    for (const Message &m : readMessages(readAll(TsFile))) {
        EXPECT_EQ(translator.translate(m.context.c_str(), m.source.c_str()).toStdString(),
                  m.translation)
            << m.context << ": " << m.source;
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

TEST(Translations, EnglishTranslatesThePlainLibrariesAndJapaneseShowsThemAsWritten)
{
    JapaneseAfterwards reset;
    ASSERT_TRUE(UseLanguage(InterfaceLanguage::English));
    EXPECT_EQ(CurrentLanguage(), InterfaceLanguage::English);
    EXPECT_EQ(Tr(QT_TRANSLATE_NOOP("Orvane", "処理中")), "Working");
    EXPECT_EQ(Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nが見つかりません"), {"/site/a.html"}),
              "/site/a.html\r\nwas not found");
    EXPECT_EQ(
        Tr(QT_TRANSLATE_NOOP("Orvane", "無効リンクを含むファイルの数 %1\r\n無効リンクの総数 %2"),
           {"3", "4"}),
        "Files with invalid links 3\r\nInvalid links in all 4");
    EXPECT_EQ(Tr("a text with no translation"), "a text with no translation");

    ASSERT_TRUE(UseLanguage(InterfaceLanguage::Japanese));
    EXPECT_EQ(CurrentLanguage(), InterfaceLanguage::Japanese);
    EXPECT_EQ(Tr(QT_TRANSLATE_NOOP("Orvane", "処理中")), "処理中");
    EXPECT_EQ(Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nが見つかりません"), {"/site/a.html"}),
              "/site/a.html\r\nが見つかりません");
}

TEST(Translations, AMissingFileLeavesTheTextsAsWritten)
{
    JapaneseAfterwards reset;
    TempDir empty;
    EXPECT_FALSE(UseLanguage(InterfaceLanguage::English, empty.path()));
    EXPECT_EQ(Tr(QT_TRANSLATE_NOOP("Orvane", "処理中")), "処理中");
}

TEST(Translations, TheFolderIsBesideTheProgramsFolder)
{
    EXPECT_EQ(TranslationsFolder("/usr/bin/orvane"), "/usr/share/orvane/translations");
    EXPECT_EQ(TranslationsFolder("/opt/o/build/cli/orvane-check"),
              "/opt/o/build/share/orvane/translations");
}

} // namespace
} // namespace orvane
