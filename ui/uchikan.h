#pragma once

#include "engine/uchikan.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

/// The replace dialog: the page's file name, the link text to replace and the
/// edit for its replacement, with the warning that every occurrence in the
/// page is replaced, not only those inside tags.
class TChikanDlg : public QDialog, public ChikanDialog
{
    Q_OBJECT

public:
    explicit TChikanDlg(QWidget *parent = nullptr);

    QLabel *Label5;
    QLabel *filename;
    QLabel *Label1;
    QLabel *beforestr;
    QLabel *Label4;
    QLabel *Label2;
    QLineEdit *afterstr;
    QLabel *Label3;
    QLabel *Label6;
    QLabel *Label7;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

    /// Shows texts modally; on OK texts.afterstr holds the edited replacement
    /// as bytes. An unedited replacement keeps the bytes it was given, so a
    /// text in another code than UTF-8 is not re-encoded.
    bool execute(ChikanTexts &texts) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *label(const QString &text, int x, int y);

    std::string m_givenAfter;
    QString m_shownAfter;
};

} // namespace orvane
