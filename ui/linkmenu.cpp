#include "ui/linkmenu.h"

#include "commands/findinfile.h"
#include "commands/launcher.h"
#include "commands/replacetext.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "settings/settings.h"
#include "ui/displaytext.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>

namespace orvane {

namespace {

// Where the snippet of an occurrence starts and ends around the link text.
constexpr int SnippetBefore = 2;
constexpr int SnippetAfter = 7;

} // namespace

QString menuCaption(const std::string &bytes)
{
    QString text = displayText(bytes);
    for (QChar &c : text)
        if (c.unicode() < 0x20)
            c = QLatin1Char(' '); // a menu row is one line; a tab would start a key column
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

LinkMenu::LinkMenu(QMenu &popup, Site &site, Launcher &launcher, const BrowserLookup &desktop,
                   ReplacePrompt &dialog, std::string &clickedLink, Handlers handlers)
    : QObject(&popup)
    , m_site(site)
    , m_launcher(launcher)
    , m_desktop(desktop)
    , m_dialog(dialog)
    , m_clickedLink(clickedLink)
    , m_handlers(std::move(handlers))
{
    replace = popup.addAction(tr("文字列の置換..."));
    connect(replace, &QAction::triggered, this,
            [this] { m_handlers.run([this] { replaceClick(m_site, m_clickedLink, m_dialog); }); });
    tagjump = popup.addMenu(tr("文字列へのタグジャンプ"));
}

void LinkMenu::watch(QListWidget &list)
{
    connect(&list, &QListWidget::itemClicked, this, [this, &list] { ShowLinkMenu(list); });
    connect(&list, &QListWidget::currentRowChanged, this, [this, &list](int row) {
        // A click moves the current row as well and is answered by itemClicked;
        // refilling the lists happens while another control has the focus.
        if (row >= 0 && list.hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton)
            ShowLinkMenu(list);
    });
}

void LinkMenu::ShowLinkMenu(QListWidget &list)
{
    m_handlers.run([this, &list] {
        if (buildMenu(list) && m_handlers.show)
            m_handlers.show(QCursor::pos() + QPoint(16, 0));
    });
}

void LinkMenu::ShowLinkMenuFor(const std::string &link)
{
    m_handlers.run([this, &link] {
        if (buildMenu(link) && m_handlers.show)
            m_handlers.show(QCursor::pos() + QPoint(16, 0));
    });
}

bool LinkMenu::buildMenu(QListWidget &list)
{
    const QList<QListWidgetItem *> selected = list.selectedItems();
    if (selected.isEmpty())
        return false;
    return buildMenu(selected.first()->data(Qt::UserRole).toByteArray().toStdString());
}

bool LinkMenu::buildMenu(const std::string &link)
{
    replace->setEnabled(true);
    tagjump->menuAction()->setEnabled(true);
    m_clickedLink = link;
    tagjump->clear(); // deletes the items of the previous click
    const TreeNode *node = m_site.tree.Selected();
    if (!node || !node->Data())
        return false;
    const std::vector<std::string> places =
        FindStringInFile(node->Data()->FullPath, m_clickedLink, SnippetBefore, SnippetAfter,
                         m_site.settings().IgnoreCase, m_site.host());
    for (size_t k = 0; k + 1 < places.size(); k += 2)
        addTagJumpItem(TagJumpCaption(places[k], places[k + 1]));
    if (tagjump->isEmpty())
        tagjump->menuAction()->setEnabled(false);
    return true;
}

std::string LinkMenu::TagJumpCaption(const std::string &line, const std::string &snippet)
{
    return line + ": " + snippet;
}

void LinkMenu::addTagJumpItem(const std::string &caption)
{
    QAction *item = tagjump->addAction(menuCaption(caption));
    connect(item, &QAction::triggered, this, [this, caption] {
        m_handlers.run([this, &caption] { TagJumpClick(m_site, m_launcher, m_desktop, caption); });
    });
}

} // namespace orvane
