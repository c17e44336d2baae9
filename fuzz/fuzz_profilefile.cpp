// The INI reader and writer on any file: reading never fails or returns more
// than 2047 bytes, the text survives a save and a new read, a written key reads
// back and leaves every other key as it was. The settings and window-placement
// readers run on the same file.
#include "base/errors.h"
#include "base/profilefile.h"
#include "base/strutil.h"
#include "settings/settings.h"
#include "support/fuzzinput.h"

#include <cctype>
#include <utility>
#include <vector>

using namespace orvane;

namespace {

using Probe = std::pair<std::string, std::string>;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

/// Section and key names as they stand in the text, for looking them up.
std::vector<Probe> probesOf(const std::string &text)
{
    std::vector<Probe> probes;
    std::string section;
    size_t start = 0;
    while (start < text.size() && probes.size() < 64) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t\v\f\r");
        if (first != std::string::npos && line[first] == '[')
            section = line.substr(first + 1, line.find(']') - first - 1);
        else if (const size_t eq = line.find('='); eq != std::string::npos)
            probes.emplace_back(section, line.substr(0, eq));
    }
    return probes;
}

std::vector<std::string> readAll(const ProfileFile &file, const std::vector<Probe> &probes)
{
    std::vector<std::string> values;
    for (const auto &[section, key] : probes) {
        std::string value = file.ReadString(section, key, "\x01missing");
        FUZZ_CHECK(value.size() <= ProfileFile::MaxValueLength || value == "\x01missing");
        FUZZ_CHECK(file.KeyExists(section, key) == (value != "\x01missing") ||
                   value == "\x01missing");
        (void)file.ReadInteger(section, key, 7);
        (void)file.ReadBool(section, key, true);
        values.push_back(std::move(value));
    }
    return values;
}

/// A name of the program's own sections and keys in the letter case the
/// input chooses: the program never writes other names.
std::string pick(const char *const *names, size_t count, uint8_t choice)
{
    std::string name = names[choice % count];
    for (size_t i = 0; i < name.size(); ++i) {
        if ((choice >> (i % 8)) & 1)
            name[i] = static_cast<char>(name[i] ^ 0x20 * (std::isalpha(name[i]) != 0));
    }
    return name;
}

/// Whether two names find the same section or key: blanks around them do not
/// count, nor does ASCII letter case.
bool sameName(std::string_view a, std::string_view b)
{
    const auto trim = [](std::string_view s) {
        while (!s.empty() && isBlank(s.front()))
            s.remove_prefix(1);
        while (!s.empty() && isBlank(s.back()))
            s.remove_suffix(1);
        return s;
    };
    return AsciiUpper(trim(a)) == AsciiUpper(trim(b));
}

bool plainValue(const std::string &value)
{
    if (value.size() > ProfileFile::MaxValueLength)
        return false;
    if (value.find_first_of("\r\n") != std::string::npos)
        return false;
    if (!value.empty() && (isBlank(value.front()) || isBlank(value.back())))
        return false;
    return value.size() < 2 ||
           !(value.front() == value.back() && (value.front() == '"' || value.front() == '\''));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    fuzz::FuzzInput in(data, size);
    static const char *const sections[] = {"Option", "WindowState", "ProjectWindowState",
                                           "OrvaneProject"};
    static const char *const keys[] = {
        "Left", "Top", "Visible", "HomeDir", "TopFile0", "ExternalEditor", "CheckLocalFile"};
    const std::string section = pick(sections, 4, in.byte());
    const std::string key = pick(keys, 7, in.byte());
    const std::string value = in.upTo('\0');
    const std::string text = in.rest();

    const std::string path = fuzz::ScratchPath("file.ini");
    fuzz::WriteScratch(path, text);
    ProfileFile file(path);
    const std::vector<Probe> probes = probesOf(text);
    const std::vector<std::string> before = readAll(file, probes);

    Settings settings;
    LoadSettings(settings, path);
    FUZZ_CHECK(settings.CheckLocalFile >= -1 && settings.CheckLocalFile <= 1);
    (void)ReadWindowPlacement(path);

    // What Save() writes reads back the same.
    file.Save();
    const ProfileFile reread(path);
    FUZZ_CHECK(reread.Text() == file.Text());
    FUZZ_CHECK(readAll(reread, probes) == before);

    // A written value reads back; no other key changes.
    try {
        file.WriteString(section, key, value);
    } catch (const EWriteError &) {
        FUZZ_CHECK(value.find_first_of("\r\n") != std::string::npos);
        FUZZ_CHECK(file.Text() == reread.Text());
        return 0;
    }
    FUZZ_CHECK(value.find_first_of("\r\n") == std::string::npos);
    if (plainValue(value))
        FUZZ_CHECK(file.ReadString(section, key, {}) == value);
    const std::vector<std::string> after = readAll(file, probes);
    for (size_t i = 0; i < probes.size(); ++i) {
        if (!(sameName(probes[i].first, section) && sameName(probes[i].second, key)))
            FUZZ_CHECK(after[i] == before[i]);
    }
    file.Save();
    FUZZ_CHECK(ProfileFile(path).Text() == file.Text());
    return 0;
}
