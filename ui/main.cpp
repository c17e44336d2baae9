#include "commands/browser.h"
#include "commands/launcher.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "translations/translator.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <string>
#include <utility>
#include <vector>

int main(int argc, char **argv)
{
    // The desktop is asked for its browser once, before any window exists; a
    // browser chosen while the program runs counts from the next start.
    orvane::BrowserLookup desktop = orvane::SystemBrowserLookup();
    const orvane::BrowserCommand browser = orvane::FindBrowser(desktop);
    orvane::ProcessLauncher launcher;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral("orvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.svg")));

    // The language is chosen once, before any window makes its texts; a
    // change in the settings dialog counts from the next start.
    const std::string settingsPath = orvane::SettingsFilePath();
    orvane::Settings stored;
    orvane::LoadSettings(stored, settingsPath);
    orvane::UseLanguage(
        orvane::ChooseLanguage(stored.Language, orvane::LocaleVariables::FromEnvironment()));

    orvane::MainWindow form(settingsPath, launcher, browser, std::move(desktop));
    form.show();
    // The arguments as the file system's bytes, as the program got them.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    QTimer::singleShot(0, &form, [&form, &arguments] { form.ProcessCommandLine(arguments); });
    return app.exec();
}
