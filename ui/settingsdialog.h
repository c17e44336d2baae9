#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QFrame;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace orvane {

/// The settings dialog. It carries the program's Settings for the whole run:
/// each control is bound to one option and edits it in place. Creating it
/// restores the stored positions of the main and project windows; destroying
/// it stores them.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(QWidget *mainWindow, QWidget *projectWindow, std::string iniPath);
    ~SettingsDialog() override;

    Settings settings;

    /// Shows the dialog modally with the current options; true for OK.
    bool Execute();

    QTabWidget *tabs;
    QWidget *programsPage;
    QWidget *extensionsPage;
    QWidget *otherPage;
    QPushButton *okButton;
    QPushButton *cancelButton;
    QFileDialog *programFileDialog;

    QLineEdit *externalViewer;
    QPushButton *ViewerBrowseButton;
    QLineEdit *ExternalEditor;
    /// Offers the common editors found on this machine; choosing one fills
    /// in its path and both templates.
    QToolButton *editorChoiceButton;
    QMenu *editorChoiceMenu;
    QPushButton *EditorBrowseButton;
    QLineEdit *commandlineoption;
    QLineEdit *TagJumpCommandlineoption;
    QFrame *templateHelpPanel;

    QLineEdit *ExtListHTML;
    QLineEdit *ExtListImg;
    QPushButton *MakeExtListDefault;

    QLineEdit *DefaultFileName;
    QCheckBox *ignoreCase;
    QCheckBox *isSpaceValidChkBox;
    QCheckBox *AnchorMakesFileBlue;
    QCheckBox *IgnoreHTMLInfo;
    QCheckBox *IgnoreJavaScript;
    QCheckBox *ModernLinks;
    QCheckBox *HideInfoBoxAfterCheck;
    QGroupBox *CheckLocalFile;
    QRadioButton *CheckLocalFileChoices[2];
    /// The Language setting: its index is the stored value (LanguageSetting).
    QComboBox *Language;

    void ViewerBrowseButtonClick();
    void EditorBrowseButtonClick();
    void MakeExtListDefaultClick();
    /// Fills editorChoiceMenu with the known editors found in the search
    /// path (editorSearchPath, or PATH when that is empty).
    void fillEditorChoices();

    std::string editorSearchPath;

private:
    void buildPage1();
    void buildPage2();
    void buildPage3();
    /// Widens the dialog where this font needs more room than the layout
    /// gives; returns by how much.
    int widthNeeded();
    void bindText(QLineEdit *edit, std::string Settings::*field);
    void bindFlag(QCheckBox *box, bool Settings::*field);
    void showSettings();
    void browseInto(QLineEdit *edit);

    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_projectWindow;
    std::string m_iniPath;
    QButtonGroup *m_checkLocalFileGroup;
};

} // namespace orvane
