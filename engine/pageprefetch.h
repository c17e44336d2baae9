#pragma once

#include "base/uniquefd.h"
#include "engine/linkextract.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvane {

/// Reads and prepares pages on worker threads while the scan builds the tree,
/// so that the text work of a site runs on every core. The scan queues the
/// pages of a folder in the order it will take them; taking a page waits for
/// it if need be. Workers stay a bounded number of pages, and of bytes, ahead
/// of the taker; a page that does not fit in the bytes is left to the taker.
///
/// The taker prepares pages too rather than wait while some are left. Only
/// reading and preparing happen away from the lists: messages, events and the
/// lists stay with the taker, and a page whose reading failed is handed back
/// as missing so that the taker reads it again and reports.
class PagePrefetcher
{
public:
    /// How much page text read-ahead holds at most, in bytes.
    static constexpr unsigned long long DefaultMaxBytesAhead = 256ULL << 20;

    PagePrefetcher(ExtractOptions options, unsigned workers,
                   unsigned long long maxBytesAhead = DefaultMaxBytesAhead);
    ~PagePrefetcher();
    PagePrefetcher(const PagePrefetcher &) = delete;
    PagePrefetcher &operator=(const PagePrefetcher &) = delete;

    /// How many workers to use beside the taker's thread on this machine: one
    /// per further core, three at most (reading gains little beyond).
    static unsigned DefaultWorkers();

    /// Queues pages to be taken in this order after those already queued.
    void Enqueue(const std::vector<std::string> &paths);
    /// The same for the pages of one folder (its path ends in "/"), which
    /// are then read by their names in the folder, opened once.
    void Enqueue(const std::string &folder, const std::vector<std::string> &names);

    /// The prepared page for path when it is queued (pages queued before it are
    /// dropped) and its reading succeeded; null otherwise, also when it was
    /// prepared with other options. While waiting for a page that takes long,
    /// calls whileWaiting now and then, so that the window stays alive.
    std::unique_ptr<PreparedPage> Take(const std::string &path, ExtractOptions options,
                                       const std::function<void()> &whileWaiting = {});

    /// The most page text held ahead at any moment so far, in bytes.
    unsigned long long PeakBytesHeld();
    /// How many pages Take has handed over prepared so far.
    unsigned long long PagesHandedOver();

private:
    enum class State { waiting, working, done };
    struct Slot
    {
        std::string path;
        std::shared_ptr<const UniqueFd> folder; // where the page's name is, if open
        State state = State::waiting;
        std::unique_ptr<PreparedPage> page; // null when reading failed
        unsigned long long bytes = 0;       // counted in m_bytesHeld
        bool dropped = false;               // taken or passed over
    };

    void enqueue(std::vector<std::shared_ptr<Slot>> slots);
    void work();
    bool hasWork() const;
    std::vector<std::shared_ptr<Slot>> claim(size_t most);
    std::unique_ptr<PreparedPage> prepare(Slot &slot);
    /// Counts size bytes for the slot, in place of what it was counted
    /// before, if they fit beside what is held.
    bool admit(Slot &slot, unsigned long long size);
    void release(Slot &slot);
    void publish(Slot &slot, std::unique_ptr<PreparedPage> page);
    void dropFront();

    const ExtractOptions m_options;
    const unsigned long long m_maxBytesAhead;
    std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_slotDone;
    // Pages not taken yet, in order. Workers claim pages from the front, so
    // the claimed ones (being prepared or done) always come first.
    std::deque<std::shared_ptr<Slot>> m_queue;
    size_t m_claimed = 0;               // pages at the front of the queue claimed by workers
    unsigned long long m_bytesHeld = 0; // text of pages read or being read
    unsigned long long m_peakBytesHeld = 0;
    unsigned long long m_pagesHandedOver = 0;
    unsigned m_idleWorkers = 0;
    std::atomic<unsigned> m_openFolders = 0; // held by queued pages
    bool m_takerWaiting = false;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace orvane
