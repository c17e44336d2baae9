#pragma once

#include "commands/browser.h"
#include "commands/launcher.h"
#include "support/fakedesktop.h"
#include "support/tempdir.h"
#include "ui/qthost.h"

#include <QFileDialog>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvane {
class MainWindow;
class TreeNode;
} // namespace orvane

namespace orvane::test {

/// A launcher that starts nothing and remembers what it was asked to start.
class RecordingLauncher : public Launcher
{
public:
    struct Call
    {
        std::string program;
        std::vector<std::string> args;
    };
    std::vector<Call> calls;
    /// What start() answers.
    bool starts = true;

    bool start(const std::string &program, const std::vector<std::string> &args) override
    {
        calls.push_back({program, args});
        return starts;
    }
};

/// Answers the message boxes of a host and remembers them: OK unless a false
/// answer is queued.
class BoxRecorder
{
public:
    explicit BoxRecorder(QtHost &host);

    std::vector<QtHost::Box> boxes;
    std::deque<bool> answers;

    /// The texts of the boxes with the given caption.
    std::vector<QString> texts(const QString &caption) const;
};

/// A main window on a settings file in a temporary folder, with its message
/// boxes answered and the events of its long loops let through at every item.
class FormFixture
{
public:
    FormFixture();
    ~FormFixture();

    /// The browser the window finds: "browser-test" with the target appended.
    static BrowserCommand testBrowser();

    TempDir dir;
    std::string iniPath;
    RecordingLauncher launcher;
    /// The desktop the window asks for default applications: knows none
    /// until a test gives it answers.
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> form;
    std::unique_ptr<BoxRecorder> recorder;

    /// Writes the sample site below dir/site/ and returns its folder (with "/").
    std::string writeSite() const;
    /// The node with the given text path below the root ("sub/page.html").
    TreeNode *node(const std::string &path) const;
};

/// Runs action on the next modal file dialog once it is shown (from inside the
/// dialog's own event loop); the action accepts or rejects it.
void onNextFileDialog(std::function<void(QFileDialog &)> action);

/// Accepts a shown file dialog with the given file or folder typed in as an
/// absolute path. A complaint of the dialog fails the test and is closed.
void chooseIn(QFileDialog &dialog, const QString &path);
/// Accepts the next file dialog with the given file or folder chosen.
void chooseInNextFileDialog(const QString &path);
/// Rejects the next file dialog.
void cancelNextFileDialog();

/// Lets pending events run, e.g. queued closes and deferred deletions.
void processPendingEvents();

} // namespace orvane::test
