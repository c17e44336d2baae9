#pragma once

#include "commands/replacetext.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

/// The replace dialog: the page's file name, the link text to replace and the
/// edit for its replacement, with the warning that every occurrence in the
/// page is replaced, not only those inside tags.
class ReplaceDialog : public QDialog, public ReplacePrompt
{
    Q_OBJECT

public:
    explicit ReplaceDialog(QWidget *parent = nullptr);

    QLabel *fileNameCaption;
    QLabel *fileNameLabel;
    QLabel *beforeCaption;
    QLabel *beforeLabel;
    QLabel *arrowLabel;
    QLabel *afterCaption;
    QLineEdit *afterEdit;
    QLabel *noticeCaption;
    QLabel *noticeLine1;
    QLabel *noticeLine2;
    QPushButton *okButton;
    QPushButton *cancelButton;

    /// Shows texts modally; on OK texts.after holds the edited replacement
    /// as bytes. An unedited replacement keeps the bytes it was given, so a
    /// text in another code than UTF-8 is not re-encoded.
    bool execute(ReplaceTexts &texts) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *label(const QString &text, int x, int y);

    std::string m_givenAfter;
    QString m_shownAfter;
};

} // namespace orvane
