#include "ui/windowplacement.h"

#include "settings/settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvane {

QSize PrimaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

bool ApplyStoredPosition(QWidget &window, int left, int top, QSize screen)
{
    const QSize size = window.frameGeometry().size();
    if (!PlacementApplies(left, top, size.width(), size.height(), screen.width(), screen.height()))
        return false;
    window.move(left, top);
    return true;
}

void RestoreWindowPlacement(QWidget &mainWindow, QWidget &projectWindow, const std::string &iniPath)
{
    const WindowPlacement placement = ReadWindowPlacement(iniPath);
    const QSize screen = PrimaryScreenSize();
    ApplyStoredPosition(mainWindow, placement.mainLeft, placement.mainTop, screen);
    ApplyStoredPosition(projectWindow, placement.projectLeft, placement.projectTop, screen);
    if (placement.projectVisible)
        projectWindow.show();
}

void SaveWindowPlacement(const QWidget &mainWindow, const QWidget &projectWindow,
                         const std::string &iniPath)
{
    WindowPlacement placement;
    placement.mainLeft = mainWindow.x();
    placement.mainTop = mainWindow.y();
    placement.projectLeft = projectWindow.x();
    placement.projectTop = projectWindow.y();
    placement.projectVisible = projectWindow.isVisible();
    WriteWindowPlacement(placement, iniPath);
}

} // namespace orvane
