#pragma once

#include "base/host.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QWidget;

namespace orvane {

/// The engine's host in the window program: the status strip, message boxes,
/// sounds, pending events, the busy state of the controls and the link lists.
class QtHost : public QObject, public Host
{
    Q_OBJECT

public:
    /// The widgets the host writes to; any of them may be missing.
    struct Displays
    {
        QLabel *status = nullptr;
        QLabel *countPanel = nullptr;
        QLabel *fileCount = nullptr;
        QListWidget *links[3] = {nullptr, nullptr, nullptr};
        QListWidget *referrers = nullptr; // the pages that link to the selected file
        QLabel *orphanReason = nullptr;   // why the selected file is orphaned
    };

    /// The item data roles of the link and referrer lists besides the shown
    /// text: the raw link text (Qt::UserRole), an invalid link's hint as
    /// shown beside it, the suggested link, and a referring page's path.
    enum ItemRole : int {
        LinkRole = Qt::UserRole,
        HintRole = Qt::UserRole + 1,
        SuggestionRole = Qt::UserRole + 2,
        PageRole = Qt::UserRole + 3,
    };

    /// The hint as the lists show it.
    static QString hintText(const LinkHint &hint);
    /// Why an orphan is one, as the referrer list says above itself; empty
    /// for none.
    static QString orphanReasonText(OrphanReason reason);

    /// The controls the busy protocol switches. Commands go off while busy,
    /// Halt goes on; Reopen returns only when the home folder exists.
    struct BusyControls
    {
        std::vector<QPointer<QWidget>> commands;
        QPointer<QWidget> reopen;
        QPointer<QWidget> halt;
        std::vector<QPointer<QWidget>> projectWindow;
    };

    /// A message box as it would be shown.
    struct Box
    {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
        MessageButtons buttons;
    };
    /// Answers a box instead of the user; returns true for OK.
    using Answerer = std::function<bool(const Box &box)>;

    explicit QtHost(QObject *parent = nullptr);

    void setDisplays(const Displays &displays) { m_displays = displays; }
    void setBusyControls(BusyControls controls) { m_busy = std::move(controls); }
    /// The window message boxes are centred on.
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }

    /// Told of every sound before it is played; tests record them.
    void setBeepListener(std::function<void(Sound)> listener)
    {
        m_beepListener = std::move(listener);
    }

    /// Lets tests answer every message box without showing it.
    void setAnswerer(Answerer answerer) { m_answerer = std::move(answerer); }
    /// The shortest time between two rounds of pending events, in milliseconds.
    void setEventInterval(int milliseconds) { m_eventInterval = milliseconds; }

    void setStatus(const std::string &text) override;
    void setCountPanel(long n) override;
    void clearCountPanel() override;
    void setFileCount(long n) override;
    void processEvents() override;
    bool message(MessageKind kind, const std::string &text, MessageButtons buttons) override;
    void beep(Sound sound) override;
    void enterBusy() override;
    void leaveBusy(bool reopenEnabled) override;
    void clearLinkLists() override;
    void addLink(LinkList list, const std::string &text) override;
    void setLinkHint(LinkList list, const LinkHint &hint) override;
    void setOrphanReason(OrphanReason reason) override;
    void addReferrer(const ReferrerRow &row) override;

    /// The box of the program's one error handler: a failure that ended a
    /// command, captioned with the program's name.
    void showFailure(const std::string &text);

    /// Writes what the engine last told into the status displays. Long loops
    /// tell far more often than a screen can show, so the displays follow at
    /// each round of pending events and when control returns to the event
    /// loop, not at every call.
    void flushDisplays();

signals:
    /// The outermost command has ended.
    void idle();

private:
    bool showBox(const Box &box);
    void displaysChanged();

    Displays m_displays;
    std::string m_status;
    long m_count = 0;
    bool m_countShown = false;
    long m_fileCount = 0;
    bool m_statusDirty = false;
    bool m_countDirty = false;
    bool m_fileCountDirty = false;
    bool m_flushPosted = false;
    BusyControls m_busy;
    QPointer<QWidget> m_dialogParent;
    Answerer m_answerer;
    std::function<void(Sound)> m_beepListener;
    QElapsedTimer m_sinceEvents;
    int m_eventInterval = 20;
};

} // namespace orvane
