#include "ui/qthost.h"
#include "uitestsupport.h"

#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(QtHost, MessageBoxesAreCaptionedAfterTheirKind)
{
    QtHost host;
    test::BoxRecorder recorder(host);
    struct Case
    {
        MessageKind kind;
        const char *caption;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {MessageKind::Warning, "警告", QMessageBox::Warning},
        {MessageKind::Error, "エラー", QMessageBox::Critical},
        {MessageKind::Information, "情報", QMessageBox::Information},
        {MessageKind::Confirmation, "確認", QMessageBox::Question},
    };
    for (const Case &c : cases) {
        recorder.boxes.clear();
        recorder.answers = {false};
        EXPECT_FALSE(host.message(c.kind, "/site/a.html\r\nline two", MessageButtons::OkCancel));
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(recorder.boxes[0].icon, c.icon);
        EXPECT_EQ(recorder.boxes[0].text, "/site/a.html\nline two");
        EXPECT_EQ(recorder.boxes[0].buttons, MessageButtons::OkCancel);
    }
    EXPECT_TRUE(host.message(MessageKind::Information, "done", MessageButtons::Ok));
}

TEST(QtHost, DisplaysShowTheEnginesProgress)
{
    QLabel status, count, files;
    QListWidget valid, invalid, external;
    QtHost host;
    host.setDisplays({&status, &count, &files, {&valid, &invalid, &external}});

    host.setStatus("index.html - ファイルイメージのセット中");
    host.setCountPanel(42);
    host.setFileCount(1234);
    EXPECT_EQ(status.text(), ""); // shown with the next round of events, not per call
    host.flushDisplays();
    EXPECT_EQ(status.text(), "index.html - ファイルイメージのセット中");
    EXPECT_EQ(count.text(), "count 42");
    EXPECT_EQ(files.text(), "総ファイル数 1234");
    host.setStatus("");
    host.clearCountPanel();
    test::processPendingEvents();
    EXPECT_EQ(status.text(), "");
    EXPECT_EQ(count.text(), "");

    // Link texts keep their bytes; Shift-JIS text is shown decoded.
    const std::string sjis = "\x83\x65\x83\x58\x83\x67.html";
    host.addLink(LinkList::Invalid, sjis);
    host.addLink(LinkList::External, "http://example.com/");
    ASSERT_EQ(invalid.count(), 1);
    EXPECT_EQ(invalid.item(0)->text(), "テスト.html");
    EXPECT_EQ(invalid.item(0)->data(Qt::UserRole).toByteArray().toStdString(), sjis);
    EXPECT_EQ(external.count(), 1);
    EXPECT_EQ(valid.count(), 0);
    host.clearLinkLists();
    EXPECT_EQ(invalid.count() + external.count(), 0);
}

} // namespace
} // namespace orvane
