#include "settings/formoption.h"
#include "ui/mainform.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <string>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral("orvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.svg")));

    orvane::TForm1 form(orvane::SettingsFilePath());
    form.show();
    // The arguments as the file system's bytes, as the program got them.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    QTimer::singleShot(0, &form, [&form, &arguments] { form.ProcessCommandLine(arguments); });
    return app.exec();
}
