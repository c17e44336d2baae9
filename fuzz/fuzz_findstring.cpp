// FindStringInFile, IgnoreCasePos and ReplaceAll: the fast searches must find
// what the literal erase-and-search-again routines find.
#include "base/ignorecasepos.h"
#include "base/replaceall.h"
#include "base/textcodec.h"
#include "commands/findinfile.h"
#include "engine/readfileall.h"
#include "support/fuzzinput.h"
#include "support/oracles.h"
#include "support/recordinghost.h"

#include <algorithm>

using namespace orvane;

namespace {

void checkReplaceAll(const std::string &text, const std::string &pattern,
                     const std::string &replacement)
{
    const std::string result = ReplaceAll(text, pattern, replacement);
    // The replace dialog's texts hold no NUL; the page may.
    if (pattern.find('\0') == std::string::npos && replacement.find('\0') == std::string::npos)
        FUZZ_CHECK(result == fuzz::LiteralReplaceAll(text, pattern, replacement));
}

void checkFindString(const std::string &content, const std::string &text, int before, int after,
                     bool ignoreCase)
{
    const std::string path = fuzz::ScratchPath("page.html");
    fuzz::WriteScratch(path, content);
    test::RecordingHost host;
    std::vector<std::string> found;
    try {
        found = FindStringInFile(path, text, before, after, ignoreCase, host);
    } catch (const ENotTextFileError &) {
        return;
    }
    FUZZ_CHECK(host.messages.empty()); // no "予期せぬエラーです"
    FUZZ_CHECK(found.size() % 2 == 0);
    std::string read = content;
    std::replace(read.begin(), read.end(), '\0', ' ');
    const std::vector<size_t> lines = fuzz::LiteralOccurrenceLines(read, text, ignoreCase);
    FUZZ_CHECK(found.size() == 2 * lines.size());
    const bool utf8 = IsValidUtf8(read);
    const size_t span = text.size() + static_cast<size_t>(std::max(before, 0)) +
                        static_cast<size_t>(std::max(after, 0));
    for (size_t k = 0; k < lines.size(); ++k) {
        FUZZ_CHECK(found[2 * k] == std::to_string(lines[k]));
        const std::string &snippet = found[2 * k + 1];
        FUZZ_CHECK(snippet.size() <= span);
        if (utf8)
            FUZZ_CHECK(IsValidUtf8(snippet));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.byte();
    const int before = static_cast<int8_t>(in.byte());
    const int after = static_cast<int8_t>(in.byte());
    const std::string pattern = in.upTo('\x01');
    const std::string replacement = in.upTo('\x01');
    const std::string text = in.rest();

    const size_t position = IgnoreCasePos(pattern, text);
    if (pattern.find('\0') == std::string::npos)
        FUZZ_CHECK(position == fuzz::LiteralIgnoreCasePos(pattern, text));
    FUZZ_CHECK(position == 0 || position + pattern.size() - 1 <= text.size());

    checkReplaceAll(text, pattern, replacement);
    checkFindString(text, pattern, before, after, (mode & 1) != 0);
    return 0;
}
