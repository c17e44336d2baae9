// WildCardMatch: never an assertion, a crash or a hang on any pattern, and on
// short inputs the answer of the literal recursive matcher.
#include "project/wildcard.h"
#include "support/fuzzinput.h"
#include "support/oracles.h"

#include <algorithm>

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string pattern = in.upTo('\0');
    const std::string text = in.rest();
    const bool answer = WildCardMatch(pattern, text);
    // The reference tries every place after every star: its cost grows with
    // the text's length to the power of the stars.
    const auto stars = std::count(pattern.begin(), pattern.end(), '*');
    if (text.size() <= 40 && stars <= 4)
        FUZZ_CHECK(answer == fuzz::LiteralWildCardMatch(pattern, text));
    if (pattern.find_first_of("*?") == std::string::npos)
        FUZZ_CHECK(answer == (pattern == text));
    return 0;
}
