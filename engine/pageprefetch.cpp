#include "engine/pageprefetch.h"

#include "base/errors.h"
#include "base/host.h"
#include "base/longpath.h"
#include "base/strutil.h"
#include "engine/readfileall.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>

namespace orvane {

namespace {

// Workers keep at most this many pages read or being read ahead of the taker
// (and at most the prefetcher's bound of bytes). Workers claim a few pages at a time, and are woken
// again only once the taker has used up half of what lies ready, so that
// small pages cost little locking.
constexpr size_t MaxPagesAhead = 64;
constexpr size_t ClaimBatch = 4;
// Folders held open at once for reading their pages by name.
constexpr unsigned MaxOpenFolders = 8;
// How long the taker waits for a page before letting the window breathe.
constexpr std::chrono::milliseconds WaitTick{20};

} // namespace

PagePrefetcher::PagePrefetcher(ExtractOptions options, unsigned workers,
                               unsigned long long maxBytesAhead)
    : m_options(options)
    , m_maxBytesAhead(maxBytesAhead)
{
    for (unsigned i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

PagePrefetcher::~PagePrefetcher()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_workAvailable.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

unsigned PagePrefetcher::DefaultWorkers()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores, 1u, 4u) - 1;
}

void PagePrefetcher::Enqueue(const std::vector<std::string> &paths)
{
    std::vector<std::shared_ptr<Slot>> slots;
    for (const std::string &path : paths) {
        slots.push_back(std::make_shared<Slot>());
        slots.back()->path = path;
    }
    enqueue(std::move(slots));
}

void PagePrefetcher::Enqueue(const std::string &folder, const std::vector<std::string> &names)
{
    if (names.empty() || m_workers.empty())
        return;
    // Shared by the folder's pages, and closed with the last of them. A
    // folder that cannot be opened leaves its pages to be read by path, as
    // do the folders queued while many are open already: the scan opens
    // folders too, and the open files a process may have are few.
    std::shared_ptr<const UniqueFd> fd;
    if (m_openFolders < MaxOpenFolders) {
        UniqueFd opened(OpenPath(folder, O_PATH | O_DIRECTORY));
        if (opened.valid()) {
            ++m_openFolders;
            fd = std::shared_ptr<const UniqueFd>(new UniqueFd(std::move(opened)),
                                                 [this](const UniqueFd *closing) {
                                                     delete closing;
                                                     --m_openFolders;
                                                 });
        }
    }
    std::vector<std::shared_ptr<Slot>> slots;
    for (const std::string &name : names) {
        slots.push_back(std::make_shared<Slot>());
        slots.back()->path = folder + name;
        slots.back()->folder = fd;
    }
    enqueue(std::move(slots));
}

void PagePrefetcher::enqueue(std::vector<std::shared_ptr<Slot>> slots)
{
    if (slots.empty() || m_workers.empty())
        return;
    std::lock_guard lock(m_mutex);
    for (std::shared_ptr<Slot> &slot : slots)
        m_queue.push_back(std::move(slot));
    if (m_idleWorkers > 0)
        m_workAvailable.notify_all();
}

std::unique_ptr<PreparedPage> PagePrefetcher::Take(const std::string &path, ExtractOptions options,
                                                   const std::function<void()> &whileWaiting)
{
    std::unique_lock lock(m_mutex);
    const auto it = std::find_if(m_queue.begin(), m_queue.end(),
                                 [&](const auto &slot) { return slot->path == path; });
    if (it == m_queue.end())
        return nullptr;
    while (m_queue.front()->path != path)
        dropFront();
    const std::shared_ptr<Slot> slot = m_queue.front();
    while (slot->state != State::done) {
        // Rather than wait, prepare the next page no worker has claimed: the
        // one wanted, or one soon wanted.
        if (hasWork()) {
            const std::shared_ptr<Slot> mine = claim(1).front();
            lock.unlock();
            std::unique_ptr<PreparedPage> page = prepare(*mine);
            lock.lock();
            publish(*mine, std::move(page));
            continue;
        }
        m_takerWaiting = true;
        const bool done =
            m_slotDone.wait_for(lock, WaitTick, [&] { return slot->state == State::done; });
        m_takerWaiting = false;
        if (!done && whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    dropFront();
    if (m_idleWorkers > 0 && m_claimed <= MaxPagesAhead / 2 && hasWork())
        m_workAvailable.notify_all();
    if (!slot->page || options != m_options)
        return nullptr;
    ++m_pagesHandedOver;
    return std::move(slot->page);
}

void PagePrefetcher::dropFront()
{
    const std::shared_ptr<Slot> &front = m_queue.front();
    // A page still being read gives its bytes back when it is published.
    if (front->state == State::done)
        release(*front);
    if (front->state != State::waiting)
        --m_claimed;
    front->dropped = true;
    m_queue.pop_front();
}

bool PagePrefetcher::hasWork() const
{
    return m_claimed < m_queue.size() && m_claimed < MaxPagesAhead &&
           (m_claimed == 0 || m_bytesHeld < m_maxBytesAhead);
}

std::vector<std::shared_ptr<PagePrefetcher::Slot>> PagePrefetcher::claim(size_t most)
{
    std::vector<std::shared_ptr<Slot>> batch;
    while (batch.size() < most && hasWork()) {
        const std::shared_ptr<Slot> &slot = m_queue[m_claimed++];
        slot->state = State::working;
        batch.push_back(slot);
    }
    return batch;
}

bool PagePrefetcher::admit(Slot &slot, unsigned long long size)
{
    const std::lock_guard lock(m_mutex);
    // A page that would take the text beyond the bound is left to the taker,
    // which reads it itself when it comes to it: a page larger than the bound
    // is held once, by the taker, and never beside a full read-ahead.
    // A file that grew while it was read is asked for again with its new
    // size, which then replaces the old one.
    if (slot.dropped || m_bytesHeld - slot.bytes + size > m_maxBytesAhead)
        return false;
    m_bytesHeld += size - slot.bytes;
    slot.bytes = size;
    m_peakBytesHeld = std::max(m_peakBytesHeld, m_bytesHeld);
    return true;
}

unsigned long long PagePrefetcher::PagesHandedOver()
{
    const std::lock_guard lock(m_mutex);
    return m_pagesHandedOver;
}

unsigned long long PagePrefetcher::PeakBytesHeld()
{
    const std::lock_guard lock(m_mutex);
    return m_peakBytesHeld;
}

void PagePrefetcher::release(Slot &slot)
{
    m_bytesHeld -= slot.bytes;
    slot.bytes = 0;
}

std::unique_ptr<PreparedPage> PagePrefetcher::prepare(Slot &slot)
{
    // Reading on a worker reports nothing: a failed page goes back to the
    // caller's thread, which reads it again and tells the user there.
    SilentHost host;
    try {
        std::string text;
        const auto admitSize = [&](unsigned long long size) { return admit(slot, size); };
        if (slot.folder)
            ReadFileAllAt(slot.folder->get(), std::string(ExtractFileName(slot.path)), slot.path,
                          host, text, admitSize);
        else
            ReadFileAllInto(slot.path, host, text, admitSize);
        return std::make_unique<PreparedPage>(PreparePage(std::move(text), m_options));
    } catch (const std::exception &) {
        // Left to the taker, which reads it itself and reports: a page that
        // failed, or one that did not fit beside the pages read ahead.
        return nullptr;
    }
}

void PagePrefetcher::publish(Slot &slot, std::unique_ptr<PreparedPage> page)
{
    if (!page || slot.dropped)
        release(slot);
    slot.page = slot.dropped ? nullptr : std::move(page);
    slot.state = State::done;
    if (m_takerWaiting)
        m_slotDone.notify_one();
}

void PagePrefetcher::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_idleWorkers;
        m_workAvailable.wait(lock, [&] { return m_stopping || hasWork(); });
        --m_idleWorkers;
        if (m_stopping)
            return;
        const std::vector<std::shared_ptr<Slot>> batch = claim(ClaimBatch);
        lock.unlock();
        for (const std::shared_ptr<Slot> &slot : batch) {
            std::unique_ptr<PreparedPage> page = prepare(*slot);
            const std::lock_guard done(m_mutex);
            publish(*slot, std::move(page));
        }
        lock.lock();
    }
}

} // namespace orvane
