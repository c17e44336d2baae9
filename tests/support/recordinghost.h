#pragma once

#include "base/host.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orvane::test {

/// A host that records what the engine asked of it. Message boxes are answered
/// from `answers` (OK when it runs out), so no test ever blocks.
class RecordingHost : public Host
{
public:
    struct Message
    {
        MessageKind kind;
        std::string text;
        MessageButtons buttons;
    };

    void setStatus(const std::string &text) override;
    void setCountPanel(long n) override;
    void clearCountPanel() override { countPanel = -1; }
    void setFileCount(long n) override { fileCount = n; }
    void processEvents() override;
    bool message(MessageKind kind, const std::string &text, MessageButtons buttons) override;
    void beep(Sound sound) override { beeps.push_back(sound); }
    void enterBusy() override { ++enterBusyCalls; }
    void leaveBusy(bool reopenEnabled) override;
    void clearLinkLists() override;
    void addLink(LinkList list, const std::string &text) override;
    void setLinkHint(LinkList list, const LinkHint &hint) override;
    void setOrphanReason(OrphanReason reason) override { orphanReason = reason; }
    void addReferrer(const ReferrerRow &row) override { referrers.push_back(row); }

    std::string status;
    std::vector<std::string> statusHistory; // every non-empty status text
    long countPanel = -1;
    long fileCount = -1;
    long processEventsCalls = 0;
    std::vector<Message> messages;
    std::deque<bool> answers;
    std::vector<Sound> beeps;
    int enterBusyCalls = 0;
    int leaveBusyCalls = 0;
    bool reopenEnabled = false;
    std::vector<std::string> validLinks, invalidLinks, externalLinks;
    /// Each hinted invalid link with the link it suggests.
    std::vector<std::pair<std::string, std::string>> invalidHints;
    OrphanReason orphanReason = OrphanReason::none;
    std::vector<ReferrerRow> referrers;

    /// Runs inside processEvents(), e.g. to press Halt after n events.
    std::function<void(long calls)> onProcessEvents;
    bool recordStatusHistory = false;
};

} // namespace orvane::test
