#pragma once

#include "engine/linkextract.h"

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
/// it if need be. Workers stay a bounded number of pages ahead of the taker.
///
/// Only reading and preparing happen on the workers: messages, events and the
/// lists stay with the caller's thread, and a page whose reading failed is
/// handed back as missing so that the caller reads it again and reports.
class PagePrefetcher
{
public:
    PagePrefetcher(ExtractOptions options, unsigned workers);
    ~PagePrefetcher();
    PagePrefetcher(const PagePrefetcher &) = delete;
    PagePrefetcher &operator=(const PagePrefetcher &) = delete;

    /// How many workers to use beside the caller's thread on this machine.
    static unsigned DefaultWorkers();

    /// Queues pages to be taken in this order after those already queued.
    void Enqueue(const std::vector<std::string> &paths);

    /// The prepared page for path when it is queued (pages queued before it are
    /// dropped) and its reading succeeded; null otherwise, also when it was
    /// prepared with other options. While waiting for a page that takes long,
    /// calls whileWaiting now and then, so that the window stays alive.
    std::unique_ptr<PreparedPage> Take(const std::string &path, ExtractOptions options,
                                       const std::function<void()> &whileWaiting = {});

private:
    enum class State { waiting, working, done };
    struct Slot
    {
        std::string path;
        State state = State::waiting;
        std::unique_ptr<PreparedPage> page; // null when reading failed
        size_t bytes = 0;
        bool dropped = false; // taken or passed over; its bytes are not counted
    };

    void work();
    std::shared_ptr<Slot> nextToPrepare();
    void dropFront();

    const ExtractOptions m_options;
    std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_slotDone;
    std::deque<std::shared_ptr<Slot>> m_queue; // pages not taken yet, in order
    size_t m_bytesAhead = 0;                   // text held by prepared pages
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace orvane
