#pragma once

#include "settings/formoption.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace orvane {

/// The settings dialog. It carries the program's Settings for the whole run:
/// each control is bound to one option and edits it in place. Creating it
/// restores the stored positions of the main and project windows; destroying
/// it stores them.
class TOptionForm : public QDialog
{
    Q_OBJECT

public:
    TOptionForm(QWidget *mainWindow, QWidget *projectWindow, std::string iniPath);
    ~TOptionForm() override;

    TSettings Settings;

    /// Shows the dialog modally with the current options; true for OK.
    bool Execute();

    QTabWidget *PageControl1;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    QWidget *TabSheet3;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QFileDialog *OpenDialog1;

    QLineEdit *externalViewer;
    QPushButton *ViewerBrowseButton;
    QLineEdit *ExternalEditor;
    QPushButton *EditorBrowseButton;
    QLineEdit *commandlineoption;
    QLineEdit *TagJumpCommandlineoption;
    QFrame *Panel1;

    QLineEdit *ExtListHTML;
    QLineEdit *ExtListImg;
    QPushButton *MakeExtListDefault;

    QLineEdit *DefaultFileName;
    QCheckBox *ignoreCase;
    QCheckBox *isSpaceValidChkBox;
    QCheckBox *AnchorMakesFileBlue;
    QCheckBox *IgnoreHTMLInfo;
    QCheckBox *IgnoreJavaScript;
    QCheckBox *HideInfoBoxAfterCheck;
    QGroupBox *CheckLocalFile;
    QRadioButton *CheckLocalFileChoices[2];

    void ViewerBrowseButtonClick();
    void EditorBrowseButtonClick();
    void MakeExtListDefaultClick();

private:
    void buildPage1();
    void buildPage2();
    void buildPage3();
    /// Widens the dialog where this font needs more room than the layout
    /// gives; returns by how much.
    int widthNeeded();
    void bindText(QLineEdit *edit, std::string TSettings::*field);
    void bindFlag(QCheckBox *box, bool TSettings::*field);
    void showSettings();
    void browseInto(QLineEdit *edit);

    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_projectWindow;
    std::string m_iniPath;
    QButtonGroup *m_checkLocalFileGroup;
};

} // namespace orvane
