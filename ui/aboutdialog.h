#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace orvane {

/// The About box: the program's name, version and date, the freeware note and
/// where the program lives on the web. A click on the address opens it.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *WebAddress = "https://orvane.example.org/";
    static constexpr const char *MailAddress = "orvane-dev@users.example.org";

    explicit AboutDialog(QWidget *parent = nullptr);

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *date;
    QLabel *Freeware;
    QPushButton *OKButton;
    QLabel *webCaption;
    QLabel *URL;
    QLabel *mailCaption;
    QLabel *mailto;

    /// Opens the web address in the browser.
    void URLClick();

    /// How the address is opened: the main window hands it to the browser
    /// found at start-up, under its error handler. Unset, a click does nothing.
    std::function<void(const std::string &)> openAddress;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace orvane
