#include "ui/treemenu.h"

#include "base/host.h"
#include "base/usertext.h"
#include "engine/site.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace orvane {

TreeMenu::TreeMenu(QMenu &menu, QWidget &tree, Site &site, Handlers handlers)
    : QObject(&menu)
    , m_menu(menu)
    , m_tree(tree)
    , m_site(site)
    , m_handlers(std::move(handlers))
{
    OpenWithExternalApp =
        addItem(menu, QT_TRANSLATE_NOOP("Orvane", "開く"), {}, m_handlers.openWithExternalApp);
    OpenWithBrowser = addItem(menu, QT_TRANSLATE_NOOP("Orvane", "ブラウザーで開く"), {},
                              m_handlers.openWithBrowser);
    menu.addSeparator();
    MarkTop = addItem(menu, MarkTopCaption, QKeySequence(Qt::CTRL | Qt::Key_T),
                      [this] { MarkTopClick(m_site, m_state.MarkTopText); });
    IgnoreItem = addItem(menu, IgnoreFileCaption, QKeySequence(Qt::CTRL | Qt::Key_D),
                         [this] { IgnoreItemClick(m_site); });
    QMenu *bulk = menu.addMenu(tr("まとめてチェック対象から外す"));
    BulkIgnoreItem = bulk->menuAction();
    SameNameIgnoreItem =
        addItem(*bulk, QT_TRANSLATE_NOOP("Orvane", "このファイルと同じファイル名の全ファイル"), {},
                [this] { SameNameIgnoreItemClick(m_site); });
    SameExtIgnoreItem =
        addItem(*bulk, QT_TRANSLATE_NOOP("Orvane", "このファイルと同じ拡張子の全ファイル"), {},
                [this] { SameExtIgnoreItemClick(m_site); });
    DeleteItem = addItem(menu, QT_TRANSLATE_NOOP("Orvane", "削除..."), QKeySequence(Qt::Key_Delete),
                         [this] { DeleteItemClick(m_site); });
    menu.addSeparator();
    UnMarkTopAll = addItem(menu, QT_TRANSLATE_NOOP("Orvane", "すべてのTOPマークを消す"), {},
                           [this] { UnMarkTopAllClick(m_site); });
    expandAllNodeItem = addItem(menu, QT_TRANSLATE_NOOP("Orvane", "全ノードを展開する"), {},
                                [this] { expandAllNodeItemClick(m_site.tree); });
    collapseAllNodeItem = addItem(menu, QT_TRANSLATE_NOOP("Orvane", "全ノードを縮小する"), {},
                                  [this] { collapseAllNodeItemClick(m_site.tree); });
    ShowProjectWindow = addItem(menu, QT_TRANSLATE_NOOP("Orvane", "プロジェクト情報を表示"), {},
                                m_handlers.showProjectWindow);
    connect(&menu, &QMenu::aboutToShow, this, &TreeMenu::updateState);
}

QAction *TreeMenu::addItem(QMenu &menu, const char *caption, const QKeySequence &key,
                           const std::function<void()> &command)
{
    QAction *action = menu.addAction(QString::fromStdString(Tr(caption)));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    // The tree carries the item too, so its key works while the menu is closed.
    m_tree.addAction(action);
    connect(action, &QAction::triggered, this, [this, command] {
        // A key pressed during a check must not change the tree under it; the
        // menu itself opens with every item off then.
        if (m_site.BusyCount > 0 || !command)
            return;
        m_handlers.run(command);
    });
    return action;
}

void TreeMenu::setOpenShortcuts()
{
    OpenWithExternalApp->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    OpenWithBrowser->setShortcuts(
        {QKeySequence(Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Enter)});
}

void TreeMenu::updateState()
{
    m_handlers.run([this] {
        m_state = TreeMenuStateFor(m_state, m_site.BusyCount > 0, m_site.tree.Selected(),
                                   m_site.project());
    });
    applyState();
}

void TreeMenu::applyState()
{
    const std::pair<QAction *, bool> items[] = {
        {OpenWithExternalApp, m_state.OpenWithExternalApp},
        {OpenWithBrowser, m_state.OpenWithBrowser},
        {MarkTop, m_state.MarkTop},
        {IgnoreItem, m_state.IgnoreItem},
        {BulkIgnoreItem, m_state.BulkIgnoreItem},
        {DeleteItem, m_state.DeleteItem},
        {UnMarkTopAll, m_state.UnMarkTopAll},
        {expandAllNodeItem, m_state.expandAllNodeItem},
        {collapseAllNodeItem, m_state.collapseAllNodeItem},
        {ShowProjectWindow, m_state.ShowProjectWindow},
    };
    for (const auto &[action, enabled] : items)
        action->setEnabled(enabled);
    MarkTop->setText(QString::fromStdString(Tr(m_state.MarkTopText.c_str())));
    IgnoreItem->setText(QString::fromStdString(Tr(m_state.IgnoreItemText.c_str())));
}

void TreeMenu::treeDoubleClicked(bool shift)
{
    if (m_site.BusyCount > 0)
        return;
    switch (DoubleClickActionFor(m_site.tree.Selected(), shift)) {
    case DoubleClickAction::Browser:
        m_handlers.run(m_handlers.openWithBrowser);
        break;
    case DoubleClickAction::Open:
        m_handlers.run(m_handlers.openWithExternalApp);
        break;
    case DoubleClickAction::Beep:
        m_site.host().beep(Sound::Beep);
        break;
    case DoubleClickAction::None:
        break;
    }
}

} // namespace orvane
