#include "ui/shbffex.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

namespace orvane {

namespace {

QString firstExisting(QStandardPaths::StandardLocation location)
{
    const QString path = QStandardPaths::writableLocation(location);
    return QFileInfo(path).isDir() ? path : QDir::homePath();
}

QString desktopFolder()
{
    return firstExisting(QStandardPaths::DesktopLocation);
}

bool isUnder(const QString &path, const QString &root)
{
    if (root == QLatin1String("/"))
        return true;
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

} // namespace

TSHBrowseForFolderEx::TSHBrowseForFolderEx(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
{
}

TSHBrowseForFolderEx::~TSHBrowseForFolderEx() = default;

QString TSHBrowseForFolderEx::specialFolderPath(TSpecialFolder folder, const QString &name)
{
    switch (folder) {
    case TSpecialFolder::Manual:
        if (!name.isEmpty() && QFileInfo(name).isDir())
            return QDir::cleanPath(QFileInfo(name).absoluteFilePath());
        return desktopFolder();
    case TSpecialFolder::Drives:
        return QDir::rootPath();
    case TSpecialFolder::Desktop:
    case TSpecialFolder::DesktopDir:
        return desktopFolder();
    case TSpecialFolder::Programs:
    case TSpecialFolder::StartMenu:
        return firstExisting(QStandardPaths::ApplicationsLocation);
    case TSpecialFolder::Startup: {
        const QString autostart =
            QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + "/autostart";
        return QFileInfo(autostart).isDir() ? autostart : QDir::homePath();
    }
    case TSpecialFolder::Templates:
        return firstExisting(QStandardPaths::TemplatesLocation);
    case TSpecialFolder::Favorites:
    case TSpecialFolder::Recent:
    case TSpecialFolder::SendTo:
        return QDir::homePath();
    }
    return QDir::homePath();
}

bool TSHBrowseForFolderEx::Execute()
{
    m_folderPath.clear();
    m_displayName.clear();
    // The desktop is the top of everything, as the whole file system is here.
    const QString root = RootFolder == TSpecialFolder::Desktop
                             ? QDir::rootPath()
                             : specialFolderPath(RootFolder, RootFolderName);
    QString start = specialFolderPath(SelectFolder, SelectFolderName);
    if (!isUnder(start, root))
        start = root;

    QFileDialog dialog(m_owner ? m_owner->window() : nullptr, Caption, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // Qt's own chooser, so that the root and the placement can be honoured.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    keepUnderRoot(dialog, root);
    place(dialog);
    m_dialog = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_dialog = nullptr;
    if (!accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString chosen = QDir::cleanPath(dialog.selectedFiles().first());
    if (!QFileInfo(chosen).isDir() || !isUnder(chosen, root))
        return false;
    m_folderPath = chosen;
    m_displayName = chosen == QDir::rootPath() ? chosen : QFileInfo(chosen).fileName();
    return true;
}

void TSHBrowseForFolderEx::keepUnderRoot(QFileDialog &dialog, const QString &root) const
{
    if (root == QDir::rootPath())
        return;
    QFileDialog *d = &dialog;
    connect(d, &QFileDialog::directoryEntered, d, [d, root](const QString &folder) {
        if (!isUnder(QDir::cleanPath(folder), root))
            d->setDirectory(root);
    });
}

void TSHBrowseForFolderEx::place(QFileDialog &dialog) const
{
    switch (ShowStyle) {
    case TShowStyle::ssNone:
        return;
    case TShowStyle::ssCenterScreen: {
        const QScreen *screen = dialog.screen();
        if (!screen)
            return;
        const QRect area = screen->availableGeometry();
        const QSize size = dialog.sizeHint();
        dialog.move((area.width() - size.width()) / 2, (area.height() - size.height()) / 3);
        return;
    }
    case TShowStyle::ssClient:
        if (m_owner && m_owner->window()->isVisible())
            dialog.move(m_owner->window()->mapToGlobal(QPoint(0, 0)));
        return;
    }
}

} // namespace orvane
