#pragma once

#include <QSize>

#include <string>

class QWidget;

namespace orvane {

/// Moves a window to a stored position when the position is usable on a
/// screen of the given size (both edges above 0 and the window fully inside);
/// otherwise the window stays where it is. Returns whether it moved.
bool ApplyStoredPosition(QWidget &window, int left, int top, QSize screen);

/// Reads the stored positions of the main and the project window from the
/// settings file and applies them against the primary screen; shows the
/// project window when it was shown at the last close.
void RestoreWindowPlacement(QWidget &mainWindow, QWidget &projectWindow,
                            const std::string &iniPath);

/// Stores both windows' positions and whether the project window is shown.
/// A failure is ignored: closing must not be held up by it.
void SaveWindowPlacement(const QWidget &mainWindow, const QWidget &projectWindow,
                         const std::string &iniPath);

/// The size of the primary screen.
QSize PrimaryScreenSize();

} // namespace orvane
