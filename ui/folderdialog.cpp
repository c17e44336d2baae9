#include "ui/folderdialog.h"

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

FolderDialog::FolderDialog(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
{
}

FolderDialog::~FolderDialog() = default;

QString FolderDialog::specialFolderPath(SpecialFolder folder, const QString &name)
{
    switch (folder) {
    case SpecialFolder::Manual:
        if (!name.isEmpty() && QFileInfo(name).isDir())
            return QDir::cleanPath(QFileInfo(name).absoluteFilePath());
        return desktopFolder();
    case SpecialFolder::Drives:
        return QDir::rootPath();
    case SpecialFolder::Desktop:
    case SpecialFolder::DesktopDir:
        return desktopFolder();
    case SpecialFolder::Programs:
    case SpecialFolder::StartMenu:
        return firstExisting(QStandardPaths::ApplicationsLocation);
    case SpecialFolder::Startup: {
        const QString autostart =
            QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + "/autostart";
        return QFileInfo(autostart).isDir() ? autostart : QDir::homePath();
    }
    case SpecialFolder::Templates:
        return firstExisting(QStandardPaths::TemplatesLocation);
    case SpecialFolder::Favorites:
    case SpecialFolder::Recent:
    case SpecialFolder::SendTo:
        return QDir::homePath();
    }
    return QDir::homePath();
}

bool FolderDialog::Execute()
{
    m_folderPath.clear();
    m_displayName.clear();
    // The desktop is the top of everything, as the whole file system is here.
    const QString root = RootFolder == SpecialFolder::Desktop
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

void FolderDialog::keepUnderRoot(QFileDialog &dialog, const QString &root) const
{
    if (root == QDir::rootPath())
        return;
    QFileDialog *d = &dialog;
    connect(d, &QFileDialog::directoryEntered, d, [d, root](const QString &folder) {
        if (!isUnder(QDir::cleanPath(folder), root))
            d->setDirectory(root);
    });
}

void FolderDialog::place(QFileDialog &dialog) const
{
    switch (ShowStyle) {
    case ShowStyle::ssNone:
        return;
    case ShowStyle::ssCenterScreen: {
        const QScreen *screen = dialog.screen();
        if (!screen)
            return;
        const QRect area = screen->availableGeometry();
        const QSize size = dialog.sizeHint();
        dialog.move((area.width() - size.width()) / 2, (area.height() - size.height()) / 3);
        return;
    }
    case ShowStyle::ssClient:
        if (m_owner && m_owner->window()->isVisible())
            dialog.move(m_owner->window()->mapToGlobal(QPoint(0, 0)));
        return;
    }
}

} // namespace orvane
