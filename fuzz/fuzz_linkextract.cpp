// Link, anchor and id extraction of one page: the one-sweep extraction must
// give the lists, the lines and counts of the links, the progress and the halt
// behaviour of the row-by-row passes.
#include "engine/linkextract.h"
#include "engine/stringlist.h"
#include "support/fuzzinput.h"
#include "support/literal_extract.h"
#include "support/recordinghost.h"

#include <algorithm>

using namespace orvane;

namespace {

struct Outcome
{
    std::vector<std::string> links;
    std::vector<LinkPlace> places;
    std::vector<std::string> anchors;
    std::vector<uint64_t> targets; // as the id set keeps them
    long events = 0;
    long lastCount = -1;
};

template<typename Extract>
Outcome run(const std::string &page, bool ignoreJavaScript, bool isSpaceValid, long haltAfter,
            Extract extract)
{
    test::RecordingHost host;
    bool halt = false;
    host.onProcessEvents = [&](long calls) {
        if (haltAfter >= 0 && calls > haltAfter)
            halt = true;
    };
    const ExtractContext context{host, halt, ignoreJavaScript, isSpaceValid, "page.html"};
    PageLinks lists;
    std::string text = page;
    extract(text, context, lists);
    return {lists.links.items(),     lists.places,   lists.anchors.items(), lists.targets.hashes(),
            host.processEventsCalls, host.countPanel};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The reference erases comments one by one and passes over the page once
    // per row, so it is kept to pages of moderate size.
    if (size > 32 * 1024)
        return 0;
    fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.byte();
    std::string page = in.rest();
    // The page arrives as ReadFileAll delivers it: without NUL bytes.
    std::replace(page.begin(), page.end(), '\0', ' ');
    const bool ignoreJavaScript = (mode & 1) != 0;
    const bool isSpaceValid = (mode & 2) != 0;
    const long haltAfter = (mode & 4) ? static_cast<long>(mode >> 3) : -1;

    const Outcome fast = run(page, ignoreJavaScript, isSpaceValid, haltAfter, ExtractLinksFromText);
    const Outcome literal =
        run(page, ignoreJavaScript, isSpaceValid, haltAfter,
            [](std::string &text, const ExtractContext &context, PageLinks &lists) {
                test::LiteralExtractLinks(text, context, lists);
            });
    FUZZ_CHECK(fast.links == literal.links);
    FUZZ_CHECK(fast.places == literal.places);
    FUZZ_CHECK(fast.anchors == literal.anchors);
    FUZZ_CHECK(fast.targets == literal.targets);
    FUZZ_CHECK(fast.events == literal.events);
    FUZZ_CHECK(fast.lastCount == literal.lastCount);
    return 0;
}
