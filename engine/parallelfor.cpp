#include "engine/parallelfor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

namespace {

/// One ParallelFor call: the indices left and how the call ends.
struct Job
{
    const std::function<void(size_t)> &work;
    const size_t last;
    std::atomic<size_t> next;
    std::atomic<bool> failed{false};
    std::mutex errorMutex;
    std::exception_ptr error;
    // Guarded by the pool's mutex.
    size_t helpersWanted = 0;
    size_t helpersInside = 0;

    Job(const std::function<void(size_t)> &w, size_t first, size_t end)
        : work(w)
        , last(end)
        , next(first)
    {
    }

    void run()
    {
        try {
            for (size_t i; !failed && (i = next.fetch_add(1)) < last;)
                work(i);
        } catch (...) {
            const std::lock_guard lock(errorMutex);
            if (!error)
                error = std::current_exception();
            failed = true;
        }
    }
};

/// Threads kept for ParallelFor, so that a call costs no thread creation:
/// classification runs in thousands of short batches in the window. A call
/// never waits for a helper to become free; it runs its own indices and only
/// waits for helpers that joined it, so calls may nest or come from several
/// threads at once.
class WorkerPool
{
public:
    static constexpr size_t MaxThreads = 16;

    static WorkerPool &instance()
    {
        static WorkerPool pool;
        return pool;
    }

    ~WorkerPool()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_jobPosted.notify_all();
        for (std::thread &thread : m_threads)
            thread.join();
    }

    void post(Job &job, size_t helpers)
    {
        {
            const std::lock_guard lock(m_mutex);
            job.helpersWanted = helpers;
            m_jobs.push_back(&job);
            // Threads are started until enough are idle for the call, up to
            // the cap; busy ones may join later.
            const size_t missing = helpers > m_idle ? helpers - m_idle : 0;
            const size_t wanted = std::min(MaxThreads, m_threads.size() + missing);
            while (m_threads.size() < wanted)
                m_threads.emplace_back([this] { serve(); });
        }
        m_jobPosted.notify_all();
    }

    /// Takes job back from the helpers that have not joined it yet and waits
    /// for those that have.
    void finish(Job &job)
    {
        std::unique_lock lock(m_mutex);
        const auto it = std::find(m_jobs.begin(), m_jobs.end(), &job);
        if (it != m_jobs.end())
            m_jobs.erase(it);
        m_helperLeft.wait(lock, [&] { return job.helpersInside == 0; });
    }

private:
    WorkerPool() = default;

    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            ++m_idle;
            m_jobPosted.wait(lock, [&] { return m_stopping || !m_jobs.empty(); });
            --m_idle;
            if (m_stopping)
                return;
            Job &job = *m_jobs.front();
            if (--job.helpersWanted == 0)
                m_jobs.pop_front();
            ++job.helpersInside;
            lock.unlock();
            job.run();
            lock.lock();
            --job.helpersInside;
            m_helperLeft.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_jobPosted;
    std::condition_variable m_helperLeft;
    std::deque<Job *> m_jobs;
    std::vector<std::thread> m_threads;
    size_t m_idle = 0;
    bool m_stopping = false;
};

} // namespace

void ParallelFor(size_t first, size_t last, unsigned threads,
                 const std::function<void(size_t)> &work)
{
    if (first >= last)
        return;
    const size_t helpers = std::min<size_t>(threads > 0 ? threads - 1 : 0, last - first - 1);
    Job job(work, first, last);
    if (helpers > 0) {
        WorkerPool &pool = WorkerPool::instance();
        pool.post(job, helpers);
        job.run();
        pool.finish(job);
    } else {
        job.run();
    }
    if (job.error)
        std::rethrow_exception(job.error);
}

unsigned ComputeThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

} // namespace orvane
