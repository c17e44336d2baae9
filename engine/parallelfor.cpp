#include "engine/parallelfor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

void ParallelFor(size_t first, size_t last, unsigned threads,
                 const std::function<void(size_t)> &work)
{
    if (first >= last)
        return;
    const size_t helpers = std::min<size_t>(threads > 0 ? threads - 1 : 0, last - first - 1);
    std::atomic<size_t> next{first};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    auto run = [&] {
        try {
            for (size_t i; !failed && (i = next.fetch_add(1)) < last;)
                work(i);
        } catch (...) {
            const std::lock_guard lock(errorMutex);
            if (!error)
                error = std::current_exception();
            failed = true;
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    for (size_t t = 0; t < helpers; ++t)
        pool.emplace_back(run);
    run();
    for (std::thread &thread : pool)
        thread.join();
    if (error)
        std::rethrow_exception(error);
}

unsigned ComputeThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

} // namespace orvane
