#pragma once

#include "commands/treecommands.h"

#include <QObject>

#include <functional>

class QAction;
class QKeySequence;
class QMenu;
class QWidget;

namespace orvane {

class Site;

/// The site tree's context menu: its items, their shortcuts and the commands
/// behind them. The enabled flags and the two changing captions are worked out
/// each time the menu opens and kept until the next opening, so a shortcut
/// acts only while its item was enabled then.
class TreeMenu : public QObject
{
    Q_OBJECT

public:
    /// What the menu needs from its window.
    struct Handlers
    {
        /// Runs a command under the window's error handler.
        std::function<void(const std::function<void()> &)> run;
        std::function<void()> openWithExternalApp;
        std::function<void()> openWithBrowser;
        std::function<void()> showProjectWindow;
    };

    /// Fills menu; the shortcuts act while tree has the keyboard focus.
    TreeMenu(QMenu &menu, QWidget &tree, Site &site, Handlers handlers);

    QAction *OpenWithExternalApp;
    QAction *OpenWithBrowser;
    QAction *MarkTop;
    QAction *IgnoreItem;
    QAction *BulkIgnoreItem;
    QAction *SameNameIgnoreItem;
    QAction *SameExtIgnoreItem;
    QAction *DeleteItem;
    QAction *UnMarkTopAll;
    QAction *expandAllNodeItem;
    QAction *collapseAllNodeItem;
    QAction *ShowProjectWindow;

    /// Gives the two open items their keys (Enter, Shift+Enter); the program
    /// does so once at start-up.
    void setOpenShortcuts();

    /// Works out the items' state for the tree's current selection and shows it.
    void updateState();
    const TreeMenuState &state() const { return m_state; }

    /// A double click in the tree (Shift held down or not).
    void treeDoubleClicked(bool shift);

private:
    QAction *addItem(QMenu &menu, const char *caption, const QKeySequence &key,
                     const std::function<void()> &command);
    void applyState();

    QMenu &m_menu;
    QWidget &m_tree;
    Site &m_site;
    Handlers m_handlers;
    TreeMenuState m_state;
};

} // namespace orvane
