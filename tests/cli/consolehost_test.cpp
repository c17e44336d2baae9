#include "cli/consolehost.h"
#include "cli/jsonreport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::cli {
namespace {

TEST(ConsoleHost, MessagesNeverWait)
{
    std::ostringstream err;
    ConsoleHost host(err, false);
    host.setStatus("scanning");
    host.setFileCount(3);
    host.processEvents();
    EXPECT_TRUE(host.message(MessageKind::Confirmation, "delete?", MessageButtons::OkCancel));
    host.information("無効リンクを含むファイルの数 0\r\n無効リンクの総数 0");
    host.error("ディレクトリが存在しません\r\n/no/such\x83\x65");
    host.warning("careful");
    EXPECT_EQ(host.informations(),
              std::vector<std::string>{"無効リンクを含むファイルの数 0\r\n無効リンクの総数 0"});
    EXPECT_EQ(host.errorCount(), 1);
    // Each line of a box is decoded on its own, so a Shift-JIS path does not
    // garble the program's text above it.
    EXPECT_EQ(err.str(), "orvane-check: 確認: delete?\n"
                         "orvane-check: エラー: ディレクトリが存在しません /no/suchテ\n"
                         "orvane-check: 警告: careful\n");
}

TEST(ConsoleHost, ProgressLineIsDrawnAndCleared)
{
    std::ostringstream err;
    ConsoleHost host(err, true);
    host.setFileCount(42);
    host.setStatus("index.html");
    EXPECT_EQ(err.str(), "\r\x1b[K総ファイル数 42  index.html");
    host.finishProgress();
    EXPECT_EQ(err.str(), "\r\x1b[K総ファイル数 42  index.html\r\x1b[K");
    host.finishProgress();
    host.error("x");
    EXPECT_EQ(err.str(), "\r\x1b[K総ファイル数 42  index.html\r\x1b[Korvane-check: エラー: x\n");
}

TEST(ConsoleHost, PrintableAndJsonText)
{
    const std::pair<std::string, std::string> printable[] = {
        {"plain.html", "plain.html"},
        {"tab\there", "tab\\there"},
        {"a\r\nb", "a\\r\\nb"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"\x7f", "\\x7F"},
        {"\x83\x65\x83\x58\x83\x67", "テスト"},
        {"日本", "日本"},
    };
    for (const auto &[in, expected] : printable)
        EXPECT_EQ(PrintableText(in), expected);

    const std::pair<std::string, std::string> json[] = {
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\x01\x1f\n", "\"\\u0001\\u001f\\u000a\""},
        {"/\x7f", "\"/\x7f\""},
        {"\x93\xfa", "\"日\""},
        {"", "\"\""},
        // Long texts, the escapes at the edges of sixteen-byte blocks.
        {std::string(15, 'a') + "\"" + std::string(16, 'b') + "\\",
         "\"" + std::string(15, 'a') + "\\\"" + std::string(16, 'b') + "\\\\\""},
        {std::string(31, 'x') + "\x1f\x20" + std::string(40, 'y') + "\x01",
         "\"" + std::string(31, 'x') + "\\u001f " + std::string(40, 'y') + "\\u0001\""},
    };
    for (const auto &[in, expected] : json)
        EXPECT_EQ(JsonString(in), expected);
}

} // namespace
} // namespace orvane::cli
