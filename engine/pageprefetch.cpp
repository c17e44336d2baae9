#include "engine/pageprefetch.h"

#include "base/errors.h"
#include "base/host.h"
#include "engine/readfileall.h"

#include <algorithm>
#include <chrono>

namespace orvane {

namespace {

// Workers keep at most this many pages, or about this much text, prepared
// ahead of the taker. The page the taker waits for is always prepared.
constexpr size_t MaxPagesAhead = 32;
constexpr size_t MaxBytesAhead = size_t{64} << 20;
// How long the taker waits for a page before letting the window breathe.
constexpr std::chrono::milliseconds WaitTick{50};

/// Reading on a worker reports nothing: a failed page goes back to the
/// caller's thread, which reads it again and tells the user there.
class SilentHost : public Host
{
public:
    void setStatus(const std::string &) override {}
    void setCountPanel(long) override {}
    void clearCountPanel() override {}
    void setFileCount(long) override {}
    void processEvents() override {}
    bool message(MessageKind, const std::string &, MessageButtons) override { return false; }
    void beep(Sound) override {}
};

} // namespace

PagePrefetcher::PagePrefetcher(ExtractOptions options, unsigned workers)
    : m_options(options)
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
    return std::clamp(cores, 1u, 4u);
}

void PagePrefetcher::Enqueue(const std::vector<std::string> &paths)
{
    if (paths.empty() || m_workers.empty())
        return;
    {
        std::lock_guard lock(m_mutex);
        for (const std::string &path : paths) {
            auto slot = std::make_shared<Slot>();
            slot->path = path;
            m_queue.push_back(std::move(slot));
        }
    }
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
    // Dropping pages may have made room for the workers.
    m_workAvailable.notify_all();
    const std::shared_ptr<Slot> slot = m_queue.front();
    while (!m_slotDone.wait_for(lock, WaitTick, [&] { return slot->state == State::done; })) {
        if (whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    dropFront();
    lock.unlock();
    m_workAvailable.notify_all();
    if (!slot->page || options != m_options)
        return nullptr;
    return std::move(slot->page);
}

void PagePrefetcher::dropFront()
{
    const std::shared_ptr<Slot> &front = m_queue.front();
    if (front->state == State::done)
        m_bytesAhead -= front->bytes;
    front->dropped = true;
    m_queue.pop_front();
}

std::shared_ptr<PagePrefetcher::Slot> PagePrefetcher::nextToPrepare()
{
    const size_t reach = std::min(m_queue.size(), MaxPagesAhead);
    for (size_t i = 0; i < reach; ++i) {
        if (m_queue[i]->state != State::waiting)
            continue;
        if (i > 0 && m_bytesAhead >= MaxBytesAhead)
            return nullptr;
        return m_queue[i];
    }
    return nullptr;
}

void PagePrefetcher::work()
{
    SilentHost host;
    std::unique_lock lock(m_mutex);
    for (;;) {
        std::shared_ptr<Slot> slot;
        m_workAvailable.wait(lock, [&] { return m_stopping || (slot = nextToPrepare()); });
        if (m_stopping)
            return;
        slot->state = State::working;
        lock.unlock();

        std::unique_ptr<PreparedPage> page;
        try {
            std::string text;
            ReadFileAllInto(slot->path, host, text);
            page = std::make_unique<PreparedPage>(PreparePage(std::move(text), m_options));
        } catch (const std::exception &) {
            // Left to the caller's thread, which reads it again and reports.
        }

        lock.lock();
        slot->bytes = page ? page->text.size() : 0;
        slot->page = std::move(page);
        slot->state = State::done;
        if (!slot->dropped)
            m_bytesAhead += slot->bytes;
        m_slotDone.notify_all();
    }
}

} // namespace orvane
