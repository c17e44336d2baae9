#include "cli/orderedwrite.h"

#include "engine/parallelfor.h"

#include <algorithm>
#include <vector>

namespace orvane::cli {

namespace {

// Items of a batch: enough to keep every core busy between the pauses while
// a batch is written, few enough that a batch of large pages stays small
// beside what the check holds.
constexpr size_t BatchItems = 512;

} // namespace

void WriteInOrder(std::ostream &out, size_t count,
                  const std::function<void(size_t, std::string &)> &render)
{
    std::vector<std::string> texts;
    const unsigned threads = ComputeThreads();
    for (size_t first = 0; first < count; first += BatchItems) {
        const size_t last = std::min(count, first + BatchItems);
        texts.assign(last - first, {});
        ParallelFor(first, last, threads, [&](size_t i) { render(i, texts[i - first]); });
        for (const std::string &text : texts)
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
}

} // namespace orvane::cli
