#include "settings/settings.h"
#include "ui/mainwindow.h"
#include "ui/projectwindow.h"
#include "ui/windowplacement.h"
#include "uitestsupport.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::TempDir;

// Nothing here starts a program.
test::RecordingLauncher launcher;

std::string placementFile(const TempDir &dir, int mainLeft, int mainTop, int projectLeft,
                          int projectTop, int visible)
{
    return dir.write("orvane.ini",
                     "[WindowState]\r\nLeft=" + std::to_string(mainLeft) +
                         "\r\nTop=" + std::to_string(mainTop) +
                         "\r\n[ProjectWindowState]\r\nLeft=" + std::to_string(projectLeft) +
                         "\r\nTop=" + std::to_string(projectTop) +
                         "\r\nVisible=" + std::to_string(visible) + "\r\n");
}

TEST(WindowPlacement, StoredPositionsApplyOnlyInsideTheScreen)
{
    const QSize screen = PrimaryScreenSize();
    ASSERT_GT(screen.width(), 600);
    ASSERT_GT(screen.height(), 500);
    // Sizes at start-up, before any move.
    const QPoint mainHome = [] {
        TempDir dir;
        MainWindow form(dir.path() + "orvane.ini", launcher, {});
        return form.pos();
    }();
    struct Case
    {
        const char *name;
        int left;
        int top;
        bool applies;        // to the main window
        bool projectApplies; // to the smaller project window
    };
    const int maxLeft = screen.width() - 589;
    const int maxTop = screen.height() - 498;
    const int projectMaxLeft = screen.width() - 401;
    const Case cases[] = {
        {"inside", 20, 30, true, true},
        {"left 0", 0, 30, false, false},
        {"top 0", 20, 0, false, false},
        {"unset", -1, -1, false, false},
        {"negative", -20, 30, false, false},
        {"left at the main window's edge", maxLeft, 30, false, true},
        {"left just inside", maxLeft - 1, 30, true, true},
        {"top at the main window's edge", 20, maxTop, false, true},
        {"left at the project window's edge", projectMaxLeft, 30, false, false},
        {"far off", 5000, 5000, false, false},
    };
    for (const Case &c : cases) {
        TempDir dir;
        const std::string ini = placementFile(dir, c.left, c.top, c.left, c.top, 1);
        MainWindow form(ini, launcher, {});
        EXPECT_EQ(form.pos(), c.applies ? QPoint(c.left, c.top) : mainHome) << c.name;
        EXPECT_EQ(form.projectWindow->pos() == QPoint(c.left, c.top), c.projectApplies) << c.name;
    }
}

TEST(WindowPlacement, ProjectWindowShownAsItWasLeft)
{
    for (const int visible : {0, 1}) {
        TempDir dir;
        MainWindow form(placementFile(dir, 20, 30, 40, 50, visible), launcher, {});
        EXPECT_EQ(form.projectWindow->isVisible(), visible == 1);
    }
}

TEST(WindowPlacement, ClosingStoresBothWindowsEvenWithoutAFolder)
{
    TempDir dir;
    const std::string ini = placementFile(dir, 20, 30, 40, 50, 1);
    {
        MainWindow form(ini, launcher, {});
        form.show();
        form.move(25, 35);
        form.projectWindow->move(45, 55);
        form.projectWindow->hide();
        form.close();
    }
    const WindowPlacement stored = ReadWindowPlacement(ini);
    EXPECT_EQ(stored.mainLeft, 25);
    EXPECT_EQ(stored.mainTop, 35);
    EXPECT_EQ(stored.projectLeft, 45);
    EXPECT_EQ(stored.projectTop, 55);
    EXPECT_FALSE(stored.projectVisible);
}

} // namespace
} // namespace orvane
