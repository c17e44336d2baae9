#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <string>

class QAction;
class QListWidget;
class QMenu;

namespace orvane {

class ReplacePrompt;
class Launcher;
class Site;
struct BrowserLookup;

/// The menu of a click in a link list: replacing the clicked link text in the
/// page, and a tag-jump submenu with every place where the text occurs,
/// rebuilt on every click.
class LinkMenu : public QObject
{
    Q_OBJECT

public:
    struct Handlers
    {
        /// Runs a command under the window's error handler.
        std::function<void(const std::function<void()> &)> run;
        /// Shows the menu at a screen position; the window pops it up.
        std::function<void(const QPoint &)> show;
    };

    /// Fills popup. clickedLink is the window's record of the link text
    /// clicked last; dialog asks for the replacement; desktop finds the
    /// application a tag jump opens the page with when no editor is set.
    LinkMenu(QMenu &popup, Site &site, Launcher &launcher, const BrowserLookup &desktop,
             ReplacePrompt &dialog, std::string &clickedLink, Handlers handlers);

    QAction *replace;
    QMenu *tagjump;

    /// Lets a click in list, or a move of its selection by keyboard, open the menu.
    void watch(QListWidget &list);

    /// Builds the menu for the selected entry of list and shows it beside the
    /// mouse pointer. Nothing happens without a selected entry; the menu is
    /// not shown without a selected page. A page that cannot be read ends the
    /// command before the menu shows.
    void ShowLinkMenu(QListWidget &list);
    /// The same for a link of the selected page given by its text.
    void ShowLinkMenuFor(const std::string &link);

    /// The caption of a tag-jump item for an occurrence, as bytes.
    static std::string TagJumpCaption(const std::string &line, const std::string &snippet);

private:
    bool buildMenu(QListWidget &list);
    bool buildMenu(const std::string &link);
    void addTagJumpItem(const std::string &caption);

    Site &m_site;
    Launcher &m_launcher;
    const BrowserLookup &m_desktop;
    ReplacePrompt &m_dialog;
    std::string &m_clickedLink;
    Handlers m_handlers;
};

/// A text from a page as a menu caption: decoded, with line breaks and tabs
/// made blanks and "&" kept literal.
QString menuCaption(const std::string &bytes);

} // namespace orvane
