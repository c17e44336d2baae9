// Times a check of a site in the real main window, as the window program runs
// it, under whatever platform QT_QPA_PLATFORM names (offscreen unless set).
//
//   orvane-window-bench [--open-folder] [--halt-after SECONDS] [--list-gaps SECONDS]
//                       FOLDER|PROJECT.ovp
//
// A folder is checked the way Reopen checks the home folder (with the
// analysis, the same work orvane-check does); --open-folder takes the Open
// command's path instead (no analysis). A project file is opened as the
// window opens one. The summary box is answered at once. --list-gaps tells on
// standard error every stretch without events longer than the time given,
// with what the status line showed before and after it.
//
// Prints one line of key=value figures:
//   wall      seconds from the start of the command to the summary box
//   cpu       CPU seconds of the process over the same time
//   gap       the longest time between two rounds of pending events (a 0 ms
//             timer fires once each round), from the start to the summary
//   gap_at    what the status line showed when that gap ended
//   passes    rounds of pending events during the run
//   paints    paint events the window got during the run
//   reset     seconds the tree took to show the rebuilt site (model reset and
//             the view restoring the open folders and the selection)
//   settle    seconds from the end of the command to the first round of
//             events after it (the first paint of the full tree)
//   halt      with --halt-after: seconds from the press of Halt (a click on
//             the button from the event loop) to the end of the command
#include "base/strutil.h"
#include "base/urlpath.h"
#include "commands/browser.h"
#include "commands/launcher.h"
#include "engine/checkrun.h"
#include "engine/site.h"
#include "project/project.h"
#include "ui/filetreemodel.h"
#include "ui/filetreeview.h"
#include "ui/mainwindow.h"
#include "ui/qthost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

using namespace orvane;

class NoLauncher : public Launcher
{
public:
    bool start(const std::string &, const std::vector<std::string> &) override { return false; }
};

QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The offscreen platform says so whenever a window asks for what it lacks.
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Options
{
    std::string path;
    bool openFolder = false;
    double haltAfter = -1;
    double listGapsOver = -1;
};

[[noreturn]] void usage()
{
    std::fprintf(stderr, "usage: orvane-window-bench [--open-folder] [--halt-after SECONDS] "
                         "[--list-gaps SECONDS] FOLDER|PROJECT.ovp\n");
    std::exit(2);
}

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--open-folder")
            options.openFolder = true;
        else if (arg == "--halt-after" && i + 1 < argc)
            options.haltAfter = std::atof(argv[++i]);
        else if (arg == "--list-gaps" && i + 1 < argc)
            options.listGapsOver = std::atof(argv[++i]);
        else if (!arg.empty() && arg[0] != '-' && options.path.empty())
            options.path = arg;
        else
            usage();
    }
    if (options.path.empty())
        usage();
    // As the folder dialog and the command line give it: absolute.
    options.path = ExpandFileName(options.path);
    return options;
}

bool isProjectFile(const std::string &path)
{
    return path.size() > 4 &&
           QString::fromStdString(path.substr(path.size() - 4)).toUpper() == QLatin1String(".OVP");
}

/// The figures of one run, all times in seconds from the start of the command.
struct Figures
{
    QElapsedTimer clock;
    bool running = false;
    double cpuStart = 0;
    double cpu = 0;
    double summary = -1;
    double end = -1;
    double lastPass = 0;
    double gap = 0;
    QString gapAt;
    long passes = 0;
    long paints = 0;
    double resetStart = -1;
    double reset = 0;
    double settle = -1;
    double haltPressed = -1;
    double listGapsOver = -1;
    QString lastStatus;

    double now() const { return static_cast<double>(clock.nsecsElapsed()) / 1e9; }

    /// A stretch without events ends now.
    void closeGap(const QString &status)
    {
        const double t = now();
        const QString where = lastStatus == status ? status : lastStatus + " -> " + status;
        if (t - lastPass > gap) {
            gap = t - lastPass;
            gapAt = where;
        }
        if (listGapsOver >= 0 && t - lastPass > listGapsOver)
            std::fprintf(stderr, "gap %.3f s at %.3f s: %s\n", t - lastPass, lastPass,
                         where.toStdString().c_str());
        lastPass = t;
        lastStatus = status;
    }

    void pass(const QString &status)
    {
        closeGap(status);
        ++passes;
    }
};

/// Counts the paint events of every widget of the window while a run lasts.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(Figures &figures)
        : m_figures(figures)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_figures.running)
            ++m_figures.paints;
        return QObject::eventFilter(watched, event);
    }

private:
    Figures &m_figures;
};

void startCommand(MainWindow &form, const Options &options)
{
    if (isProjectFile(options.path)) {
        form.OpenProject(options.path);
    } else if (options.openFolder) {
        form.runCommand([&form, &options] { OpenFolder(form.site(), options.path); });
    } else {
        // What Reopen does with the project's home folder.
        form.site().project().SetHomeDir(IncludeTrailingDelimiter(options.path));
        form.ReopenButtonClick();
    }
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);

    QTemporaryDir settingsDir;
    if (!settingsDir.isValid()) {
        std::fprintf(stderr, "orvane-window-bench: no temporary folder\n");
        return 1;
    }
    NoLauncher launcher;
    const BrowserCommand browser;
    MainWindow form(QDir(settingsDir.path()).filePath(QStringLiteral("orvane.ini")).toStdString(),
                    launcher, browser);
    form.resize(1000, 700);
    form.show();
    QCoreApplication::processEvents();

    Figures figures;
    figures.listGapsOver = options.listGapsOver;
    figures.clock.start();
    std::string summaryText;
    std::string otherBoxes;
    form.host().setAnswerer([&](const QtHost::Box &box) {
        if (box.caption == QString::fromUtf8("情報") && figures.summary < 0) {
            figures.closeGap(form.status->text());
            figures.summary = figures.now();
            figures.cpu = cpuSeconds() - figures.cpuStart;
            summaryText = box.text.simplified().toStdString();
        } else {
            otherBoxes +=
                " [" + box.caption.toStdString() + ": " + box.text.simplified().toStdString() + "]";
        }
        return true;
    });

    PaintCounter paintCounter(figures);
    for (QWidget *widget : form.findChildren<QWidget *>())
        widget->installEventFilter(&paintCounter);
    form.installEventFilter(&paintCounter);

    // The rebuilt tree is shown by a reset of the model at the end of the
    // update bracket; the view restores the open folders right after it.
    const auto note = [&figures](const char *what) {
        if (figures.listGapsOver >= 0 && figures.running)
            std::fprintf(stderr, "%s at %.3f s\n", what, figures.now());
    };
    QObject::connect(form.treeModel(), &QAbstractItemModel::modelAboutToBeReset, [&] {
        note("tree reset begins");
        if (figures.running)
            figures.resetStart = figures.now();
    });
    QObject::connect(form.treeModel(), &QAbstractItemModel::modelReset,
                     [&] { note("tree reset ends"); });
    QObject::connect(form.treeModel(), &FileTreeModel::treeRebuilt, [&] {
        note("tree restored");
        if (figures.running && figures.resetStart >= 0)
            figures.reset = std::max(figures.reset, figures.now() - figures.resetStart);
    });

    QTimer everyPass;
    everyPass.setInterval(0);
    QObject::connect(&everyPass, &QTimer::timeout, [&] {
        if (figures.running && figures.summary < 0)
            figures.pass(form.status->text());
        else if (!figures.running && figures.end >= 0 && figures.settle < 0) {
            figures.settle = figures.now() - figures.end;
            everyPass.stop();
            QCoreApplication::exit(0);
        }
    });

    QTimer::singleShot(0, &form, [&] {
        everyPass.start();
        if (options.haltAfter >= 0)
            QTimer::singleShot(static_cast<int>(options.haltAfter * 1000), &form, [&] {
                figures.haltPressed = figures.now();
                form.StopButton->click();
            });
        figures.cpuStart = cpuSeconds();
        figures.clock.restart();
        figures.lastPass = 0;
        figures.running = true;
        startCommand(form, options);
        figures.running = false;
        figures.end = figures.now();
        if (figures.summary < 0) { // halted, or no summary box
            figures.summary = figures.end;
            figures.cpu = cpuSeconds() - figures.cpuStart;
            figures.closeGap(form.status->text());
        }
    });
    app.exec();

    std::printf("wall=%.3f cpu=%.3f gap=%.3f passes=%ld paints=%ld reset=%.3f settle=%.3f",
                figures.summary, figures.cpu, figures.gap, figures.passes, figures.paints,
                figures.reset, figures.settle);
    if (options.haltAfter >= 0)
        std::printf(" halt=%.3f",
                    figures.haltPressed >= 0 ? figures.end - figures.haltPressed : -1.0);
    std::printf(" gap_at=\"%s\" summary=\"%s\"%s\n", figures.gapAt.toStdString().c_str(),
                summaryText.c_str(), otherBoxes.c_str());
    return figures.summary >= 0 ? 0 : 1;
}
