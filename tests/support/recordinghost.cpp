#include "support/recordinghost.h"

namespace orvane::test {

void RecordingHost::setStatus(const std::string &text)
{
    status = text;
    if (recordStatusHistory && !text.empty())
        statusHistory.push_back(text);
}

void RecordingHost::setCountPanel(long n)
{
    countPanel = n;
}

void RecordingHost::processEvents()
{
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents(processEventsCalls);
}

bool RecordingHost::message(MessageKind kind, const std::string &text, MessageButtons buttons)
{
    messages.push_back({kind, text, buttons});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingHost::leaveBusy(bool reopen)
{
    ++leaveBusyCalls;
    reopenEnabled = reopen;
}

void RecordingHost::clearLinkLists()
{
    validLinks.clear();
    invalidLinks.clear();
    externalLinks.clear();
    invalidHints.clear();
    referrers.clear();
    orphanReason = OrphanReason::none;
}

void RecordingHost::setLinkHint(LinkList list, const LinkHint &hint)
{
    if (list == LinkList::Invalid && !invalidLinks.empty())
        invalidHints.push_back({invalidLinks.back(), hint.link});
}

void RecordingHost::addLink(LinkList list, const std::string &text)
{
    switch (list) {
    case LinkList::Valid:
        validLinks.push_back(text);
        break;
    case LinkList::Invalid:
        invalidLinks.push_back(text);
        break;
    case LinkList::External:
        externalLinks.push_back(text);
        break;
    }
}

} // namespace orvane::test
