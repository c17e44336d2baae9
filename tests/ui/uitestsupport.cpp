#include "uitestsupport.h"

#include "engine/filetree.h"
#include "engine/site.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvane::test {

namespace {

// The offscreen platform says so each time a window asks it for what it
// cannot do; that is no fault of the program.
QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

/// One application object for the whole test program, on the offscreen
/// platform unless the environment chose another.
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        previousHandler = qInstallMessageHandler(quietHandler);
        static int argc = 1;
        static char name[] = "tests_ui";
        static char *argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

BoxRecorder::BoxRecorder(QtHost &host)
{
    host.setAnswerer([this](const QtHost::Box &box) {
        boxes.push_back(box);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

std::vector<QString> BoxRecorder::texts(const QString &caption) const
{
    std::vector<QString> result;
    for (const QtHost::Box &box : boxes)
        if (box.caption == caption)
            result.push_back(box.text);
    return result;
}

FormFixture::FormFixture()
    : iniPath(dir.path() + "orvane.ini")
    , form(std::make_unique<MainWindow>(iniPath, launcher, testBrowser(), desktop.lookup()))
    , recorder(std::make_unique<BoxRecorder>(form->host()))
{
    form->host().setEventInterval(0);
}

BrowserCommand FormFixture::testBrowser()
{
    BrowserCommand browser;
    browser.program = "browser-test";
    return browser;
}

FormFixture::~FormFixture()
{
    form.reset();
    processPendingEvents();
}

std::string FormFixture::writeSite() const
{
    dir.write("site/index.html", "<html><body>\n"
                                 "<a href=\"sub/page.html\">page</a>\n"
                                 "<a href=\"missing.html\">gone</a>\n"
                                 "<a href=\"http://example.com/\">out</a>\n"
                                 "<img src=\"img/logo.png\">\n"
                                 "<a name=\"top\"></a>\n"
                                 "</body></html>\n");
    dir.write("site/sub/page.html", "<a href=\"../index.html#top\">back</a>\n");
    dir.write("site/img/logo.png", "PNG");
    dir.write("site/orphan.html", "<p>nobody links here</p>\n");
    return dir.path() + "site/";
}

TreeNode *FormFixture::node(const std::string &path) const
{
    TreeNode *current = form->site().tree.Root();
    size_t start = 0;
    while (current && start <= path.size()) {
        const size_t slash = path.find('/', start);
        const std::string name = path.substr(start, slash - start);
        TreeNode *next = nullptr;
        for (size_t i = 0; i < current->Count(); ++i)
            if (current->Child(i)->Text() == name)
                next = current->Child(i);
        current = next;
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return current;
}

void onNextFileDialog(std::function<void(QFileDialog &)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(*dialog);
    });
    timer->start();
}

void chooseIn(QFileDialog &dialog, const QString &path)
{
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(path);
    // The dialog questions a name it cannot take in a box of its own, which
    // would wait for an answer for ever.
    QTimer::singleShot(2000, &dialog, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "the file dialog said: " << box->text().toStdString();
            box->reject();
        }
    });
    static_cast<QDialog &>(dialog).accept(); // QFileDialog hides accept()
}

void chooseInNextFileDialog(const QString &path)
{
    onNextFileDialog([path](QFileDialog &dialog) { chooseIn(dialog, path); });
}

void cancelNextFileDialog()
{
    onNextFileDialog([](QFileDialog &dialog) { dialog.reject(); });
}

void processPendingEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace orvane::test
