// Reading a project file of any content: the project model and its displayed
// lists stay in step, and what is saved reads back as the same project.
#include "base/errors.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "project/projectfile.h"
#include "support/fuzzinput.h"

#include <algorithm>
#include <vector>

using namespace orvane;

namespace {

struct Loaded
{
    MemoryProjectView view;
    Project project{view};
};

void checkViewInStep(const Loaded &loaded)
{
    const Project &p = loaded.project;
    FUZZ_CHECK(loaded.view.topFiles.items() == p.TopFiles());
    FUZZ_CHECK(loaded.view.ignoreFiles.items() == p.IgnoreFiles());
    FUZZ_CHECK(loaded.view.wildCards.items() == p.WildCards());
}

// Reading removes one pair of enclosing quotes and then the blanks around the
// value, so a value that is quoted, or had blanks inside its quotes, changes
// on every save and load; that is the file format, not a fault.
bool changesOnReading(const std::string &value)
{
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    if (!value.empty() && (blank(value.front()) || blank(value.back())))
        return true;
    return value.size() >= 2 && value.front() == value.back() &&
           (value.front() == '"' || value.front() == '\'');
}

template<typename Test>
bool anyValue(const Project &p, Test test)
{
    std::vector<std::string> all{p.HomeDir(), p.ServerRoot()};
    for (const auto *list : {&p.TopFiles(), &p.IgnoreFiles(), &p.WildCards()})
        all.insert(all.end(), list->begin(), list->end());
    for (const std::string &value : all)
        if (test(value))
            return true;
    return false;
}

bool breaksLine(const std::string &value)
{
    return value.find_first_of("\r\n") != std::string::npos;
}

bool excludedTopPage(const Project &p)
{
    for (const std::string &top : p.TopFiles())
        if (p.IsIgnoreFile(top))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::string path = fuzz::ScratchPath("site.ovp");
    fuzz::WriteScratch(path, std::string_view(reinterpret_cast<const char *>(data), size));
    Loaded first;
    ReadProjectFile(path, first.project);
    checkViewInStep(first);

    const std::string copy = fuzz::ScratchPath("copy.ovp");
    try {
        WriteProjectFile(copy, first.project);
    } catch (const EWriteError &) {
        // Only a value that cannot stand on one line is refused.
        FUZZ_CHECK(anyValue(first.project, breaksLine));
        return 0;
    }
    Loaded second;
    ReadProjectFile(copy, second.project);
    checkViewInStep(second);
    if (anyValue(first.project, changesOnReading))
        return 0;
    FUZZ_CHECK(second.project.HomeDir() == first.project.HomeDir());
    FUZZ_CHECK(second.project.ServerRoot() == first.project.ServerRoot());
    // A hand-made file may list a top page twice and exclude it too: each
    // load drops only its first top entry, so the list shrinks every time.
    if (!excludedTopPage(first.project))
        FUZZ_CHECK(second.project.TopFiles() == first.project.TopFiles());
    FUZZ_CHECK(second.project.IgnoreFiles() == first.project.IgnoreFiles());
    FUZZ_CHECK(second.project.WildCards() == first.project.WildCards());
    return 0;
}
