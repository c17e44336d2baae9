#pragma once

#include <cstdint>
#include <string>

namespace orvane {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class MessageButtons { Ok, OkCancel };

/// System sounds. The values are those of the classic message-beep types.
enum class Sound {
    Plain = 0x00,       // MessageBeep(0)
    Question = 0x20,    // before a confirmation
    Exclamation = 0x30, // before a warning
    Asterisk = 0x40,    // before an information box
    Beep = 0x100,       // the plain speaker beep of a command that does not apply
};

/// The three link lists of the main window.
enum class LinkList { Valid, Invalid, External };

/// How a page that links to a file stands in the last analysis.
enum class ReferrerState : uint8_t { top, reached, unreached, excluded };

/// Why a file is orphaned when no walk can reach it: no page links to it at
/// all, or every page that does is itself orphaned or excluded.
enum class OrphanReason { none, noReferrer, onlyOrphanedReferrers };

/// What an invalid link probably meant.
enum class HintKind : uint8_t {
    letterCase, // a file whose path differs only in letter case
    moved,      // the one file of the site with the link's file name
    anchor,     // the one anchor or id of the target close to the fragment
};

struct LinkHint
{
    HintKind kind;
    std::string link; // the link text that reaches what was probably meant
    std::string name; // for an anchor: the anchor or id
};

/// One page that links to the selected file, as the list of them shows it.
struct ReferrerRow
{
    std::string page;      // its full path
    std::string shownPage; // its path below the home folder
    std::string link;      // the first of its links that leads to the file
    uint32_t line;         // where the page names that link, from 1; 0 when unknown
    ReferrerState state;
};

/// Everything the engine, the project and the settings need from the program
/// around them: the progress displays, pending events, message boxes, sounds,
/// the busy state of the command buttons and the link lists. The window and the
/// command-line checker each implement it; tests use a recording fake.
///
/// Texts are byte strings: UTF-8 for the program's own texts, with paths and
/// link texts from disk as they stand. Implementations decode for display.
class Host
{
public:
    virtual ~Host() = default;

    /// The status line; an empty text clears it.
    virtual void setStatus(const std::string &text) = 0;
    /// The count panel: "count " followed by n.
    virtual void setCountPanel(long n) = 0;
    virtual void clearCountPanel() = 0;
    /// The first panel of the status bar: "総ファイル数 " followed by n.
    virtual void setFileCount(long n) = 0;

    /// Lets the user interface handle pending events (repaint, the Halt
    /// button). Called once per item by every long loop, so it must be cheap.
    virtual void processEvents() = 0;

    /// A modal message box captioned after its kind ("警告", "エラー", "情報",
    /// "確認"). Returns true when the user answered OK.
    virtual bool message(MessageKind kind, const std::string &text, MessageButtons buttons) = 0;
    virtual void beep(Sound sound) = 0;

    /// Busy protocol on the controls: entering is told on every nested
    /// command, leaving only when the outermost command ends.
    virtual void enterBusy() {}
    virtual void leaveBusy(bool reopenEnabled) { (void)reopenEnabled; }

    /// The link lists of the selected page.
    virtual void clearLinkLists() {}
    virtual void addLink(LinkList list, const std::string &text)
    {
        (void)list;
        (void)text;
    }
    /// What the entry added last to list probably meant (an invalid link's hint).
    virtual void setLinkHint(LinkList list, const LinkHint &hint)
    {
        (void)list;
        (void)hint;
    }
    /// The pages that link to the selected file, and for an orphan why no
    /// walk reaches it; cleared with the link lists.
    virtual void setOrphanReason(OrphanReason reason) { (void)reason; }
    virtual void addReferrer(const ReferrerRow &row) { (void)row; }

    /// Convenience for the common one-button boxes.
    void error(const std::string &text) { message(MessageKind::Error, text, MessageButtons::Ok); }
    void information(const std::string &text)
    {
        message(MessageKind::Information, text, MessageButtons::Ok);
    }
    void warning(const std::string &text)
    {
        message(MessageKind::Warning, text, MessageButtons::Ok);
    }
};

/// A host that shows nothing and answers every message box alike: for work
/// away from the window (reading on a worker thread, benchmarks).
class SilentHost : public Host
{
public:
    explicit SilentHost(bool answer = false)
        : m_answer(answer)
    {
    }
    void setStatus(const std::string &) override {}
    void setCountPanel(long) override {}
    void clearCountPanel() override {}
    void setFileCount(long) override {}
    void processEvents() override {}
    bool message(MessageKind, const std::string &, MessageButtons) override { return m_answer; }
    void beep(Sound) override {}

private:
    bool m_answer;
};

/// Caption of a message box of the given kind, as written (Tr() gives it in
/// the interface language).
const char *messageCaption(MessageKind kind);

} // namespace orvane
