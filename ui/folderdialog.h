#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QFileDialog;
class QWidget;

namespace orvane {

enum FolderDialogOption : unsigned {
    sboDontGoBelowDomain = 1u << 0,
    sboReturnFSAncestors = 1u << 1,
    sboReturnOnlyFSDirs = 1u << 2,
    sboStatusTextAndShowPath = 1u << 3,
    sboStatusText = 1u << 4,
};

/// Special folders a browse starts at or is rooted in; on this platform each
/// names a folder of the user's desktop or the whole file system.
enum class SpecialFolder {
    Desktop,
    Manual, // the path given by name; the desktop when that is no folder
    Drives, // the whole file system
    DesktopDir,
    Favorites,
    Programs,
    Recent,
    SendTo,
    StartMenu,
    Startup,
    Templates,
};

enum class ShowStyle { ssNone, ssCenterScreen, ssClient };

/// The folder chooser of the program's windows: a component owned by its
/// window, configured through properties and run with Execute, which leaves
/// the chosen folder in FolderPath. Only file-system folders can be chosen.
class FolderDialog : public QObject
{
    Q_OBJECT

public:
    explicit FolderDialog(QWidget *owner);
    ~FolderDialog() override;

    QString Caption;
    unsigned Options = sboReturnOnlyFSDirs;
    SpecialFolder SelectFolder = SpecialFolder::Drives;
    QString SelectFolderName;
    SpecialFolder RootFolder = SpecialFolder::Desktop;
    QString RootFolderName;
    orvane::ShowStyle ShowStyle = orvane::ShowStyle::ssClient;

    /// Result: the chosen folder's path; empty after a cancel.
    const QString &FolderPath() const { return m_folderPath; }
    /// Result: the chosen folder's name as the desktop shows it.
    const QString &DisplayName() const { return m_displayName; }

    /// Shows the chooser modally; true when the user confirmed a folder.
    bool Execute();

    /// The folder a special-folder value stands for; for Manual, name when it
    /// is an existing folder, else the desktop.
    static QString specialFolderPath(SpecialFolder folder, const QString &name);

    /// The dialog while Execute runs (for tests and placement); else null.
    QFileDialog *activeDialog() const { return m_dialog; }

private:
    void place(QFileDialog &dialog) const;
    void keepUnderRoot(QFileDialog &dialog, const QString &root) const;

    QPointer<QWidget> m_owner;
    QFileDialog *m_dialog = nullptr;
    QString m_folderPath;
    QString m_displayName;
};

} // namespace orvane
