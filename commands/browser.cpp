#include "commands/browser.h"

#include "base/host.h"
#include "base/strutil.h"
#include "commands/launcher.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/site.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace orvane {

namespace {

// The desktop tools are shell scripts that may hang on a broken session; the
// start-up must not.
const int LookupTimeoutMs = 5000;

std::vector<std::string> splitAt(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            return parts;
        from = at + 1;
    }
}

bool isRegularFile(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readSmallFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The string escapes of a desktop-entry value; other backslashes stay for
/// the quoting rules of Exec.
std::string unescapeValue(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[i + 1]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += value[i];
            out += value[i + 1];
            break;
        }
        ++i;
    }
    return out;
}

/// Exec words: blanks separate outside double quotes; inside them "\" escapes
/// the next byte.
std::vector<std::string> splitExec(const std::string &exec)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (c == '"') {
            inWord = true;
            for (++i; i < exec.size() && exec[i] != '"'; ++i) {
                if (exec[i] == '\\' && i + 1 < exec.size())
                    ++i;
                word += exec[i];
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

bool isTargetCode(char c)
{
    return c == 'f' || c == 'F' || c == 'u' || c == 'U';
}

/// Expands the field codes of one word. Returns false when the word held only
/// field codes that stand for nothing here, so it is to be dropped.
bool expandFieldCodes(const std::string &word, std::string &out, bool &targetPlaced,
                      size_t &targetOffset, bool &holdsTarget)
{
    out.clear();
    holdsTarget = false;
    bool hadCode = false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        const char code = word[++i];
        if (code == '%') {
            out += '%';
            continue;
        }
        hadCode = true;
        if (isTargetCode(code) && !targetPlaced) {
            targetPlaced = true;
            holdsTarget = true;
            targetOffset = out.size();
        }
    }
    return !(hadCode && out.empty() && !holdsTarget);
}

} // namespace

std::vector<std::string> BrowserCommand::argumentsFor(const std::string &target) const
{
    std::vector<std::string> result = args;
    if (targetArg >= 0 && static_cast<size_t>(targetArg) < result.size())
        result[static_cast<size_t>(targetArg)].insert(targetOffset, target);
    else
        result.push_back(target);
    return result;
}

std::vector<std::string> ApplicationDirs(const char *dataHome, const char *dataDirs,
                                         const char *home)
{
    // Relative entries are invalid in the XDG variables and are ignored.
    auto usable = [](const std::string &dir) { return !dir.empty() && dir[0] == '/'; };
    std::vector<std::string> dirs;
    std::string userDir = dataHome ? dataHome : "";
    if (!usable(userDir))
        userDir = home && *home ? std::string(home) + "/.local/share" : std::string();
    if (usable(userDir))
        dirs.push_back(userDir + "/applications");
    const std::string systemDirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    for (const std::string &dir : splitAt(systemDirs, ':')) {
        if (usable(dir))
            dirs.push_back(dir + "/applications");
    }
    return dirs;
}

BrowserLookup SystemBrowserLookup()
{
    BrowserLookup lookup;
    lookup.run = [](const std::vector<std::string> &argv) {
        return CaptureOutput(argv, LookupTimeoutMs);
    };
    lookup.applicationDirs = ApplicationDirs(std::getenv("XDG_DATA_HOME"),
                                             std::getenv("XDG_DATA_DIRS"), std::getenv("HOME"));
    return lookup;
}

std::string FindDesktopFile(const std::string &desktopId, const std::vector<std::string> &dirs)
{
    if (desktopId.empty() || desktopId.find('/') != std::string::npos || desktopId[0] == '.')
        return {};
    // An id "a-b-c.desktop" also names "a/b-c.desktop" and "a/b/c.desktop".
    std::vector<std::string> names{desktopId};
    std::string name = desktopId;
    for (size_t dash = name.find('-'); dash != std::string::npos; dash = name.find('-', dash)) {
        name[dash] = '/';
        names.push_back(name);
    }
    for (const std::string &dir : dirs) {
        for (const std::string &candidate : names) {
            const std::string path = dir + "/" + candidate;
            if (isRegularFile(path))
                return path;
        }
    }
    return {};
}

std::string DesktopExecValue(const std::string &text)
{
    bool inEntry = false;
    for (std::string line : splitAt(text, '\n')) {
        line = TrimControl(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !StartsWith(line, "Exec"))
            continue;
        const std::string_view rest = std::string_view(line).substr(4);
        const size_t eq = rest.find_first_not_of(" \t");
        if (eq == std::string_view::npos || rest[eq] != '=')
            continue;
        const std::string_view value = rest.substr(eq + 1);
        const size_t start = value.find_first_not_of(" \t");
        return start == std::string_view::npos ? std::string() : unescapeValue(value.substr(start));
    }
    return {};
}

BrowserCommand ParseDesktopExec(const std::string &exec)
{
    BrowserCommand command;
    bool targetPlaced = false;
    std::vector<std::string> words;
    std::string expanded;
    for (const std::string &word : splitExec(exec)) {
        size_t offset = 0;
        bool holdsTarget = false;
        if (!expandFieldCodes(word, expanded, targetPlaced, offset, holdsTarget))
            continue;
        if (holdsTarget && !words.empty()) {
            command.targetArg = static_cast<int>(words.size()) - 1;
            command.targetOffset = offset;
        }
        words.push_back(expanded);
    }
    if (words.empty())
        return command;
    command.program = words[0];
    command.args.assign(words.begin() + 1, words.end());
    return command;
}

namespace {

/// The first usable program among the desktop ids a query answers with (the
/// first line, ids separated by ";").
BrowserCommand askForApplication(const BrowserLookup &lookup, const std::vector<std::string> &query)
{
    const std::string answer = lookup.run ? lookup.run(query) : std::string();
    const std::string firstLine = TrimControl(splitAt(answer, '\n')[0]);
    for (const std::string &id : splitAt(firstLine, ';')) {
        const std::string file = FindDesktopFile(TrimControl(id), lookup.applicationDirs);
        if (file.empty())
            continue;
        BrowserCommand command = ParseDesktopExec(DesktopExecValue(readSmallFile(file)));
        if (!command.empty())
            return command;
    }
    return {};
}

} // namespace

BrowserCommand FindBrowser(const BrowserLookup &lookup)
{
    BrowserCommand command = FindDefaultApplication(lookup, "text/html");
    if (command.empty())
        command = askForApplication(lookup, {"xdg-settings", "get", "default-web-browser"});
    return command;
}

BrowserCommand FindDefaultApplication(const BrowserLookup &lookup, const std::string &mimeType)
{
    if (mimeType.empty())
        return {};
    return askForApplication(lookup, {"xdg-mime", "query", "default", mimeType});
}

void WebBrowser::OpenInBrowser(const std::string &target)
{
    if (m_command.empty() || !m_launcher.start(m_command.program, m_command.argumentsFor(target)))
        throw EBrowserNotFound();
}

void OpenWithBrowserClick(Site &site, WebBrowser &browser)
{
    const TreeNode *node = site.tree.Selected();
    if (!node || node->IsRoot() || !node->Data()) {
        site.host().beep(Sound::Beep);
        return;
    }
    browser.OpenInBrowser(node->Data()->FullPath);
}

} // namespace orvane
