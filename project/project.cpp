#include "project/project.h"

#include "base/errors.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "base/usertext.h"
#include "project/projectview.h"
#include "project/wildcard.h"

#include <algorithm>
#include <iterator>

namespace orvane {

namespace {

constexpr const char *Unit = "OrvaneProjct";
constexpr const char *NotSet = QT_TRANSLATE_NOOP("Orvane", "未設定");

bool sameCount(const std::vector<std::string> &list, const ProjectListView &view)
{
    return static_cast<long>(list.size()) == view.count();
}

/// Where the first entry equal to text (case ignored) stands in a list walked
/// from the front; the list's size when there is none.
size_t indexOfFirst(const std::vector<std::string> &list, const std::string &text)
{
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const std::string &entry) { return SameText(entry, text); });
    return static_cast<size_t>(it - list.begin());
}

/// Removes text from a view that stood at index in its model: model and view
/// hold the same texts in the same order, so it stands there in the view too,
/// and only a view that strayed is searched.
void eraseFromView(ProjectListView &view, size_t index, const std::string &text)
{
    const int at = static_cast<int>(index);
    if (at < view.count() && SameText(view.textAt(at), text)) {
        view.deleteAt(at);
        return;
    }
    const int found = view.indexOf(text);
    if (found >= 0)
        view.deleteAt(found);
}

/// Shows list anew in one update bracket.
void refillView(ProjectListView &view, const std::vector<std::string> &list)
{
    view.beginUpdate();
    view.clear();
    view.addAll(list);
    view.endUpdate();
}

void clearView(ProjectListView &view)
{
    view.beginUpdate();
    view.clear();
    view.endUpdate();
}

bool isFolderPattern(const std::string &entry)
{
    return HasTrailingDelimiter(entry);
}

} // namespace

Project::Project(ProjectView &view)
    : m_view(view)
{
}

void Project::SetHomeDir(const std::string &folder)
{
    if (folder.empty())
        return;
    m_homeDir = IncludeTrailingDelimiter(folder);
    m_view.setHomeDirLabel(m_homeDir);
}

void Project::SetServerRoot(const std::string &folder)
{
    m_serverRoot = IncludeTrailingDelimiter(folder);
    m_view.setServerRootLabel(m_serverRoot.empty() ? Tr(NotSet) : m_serverRoot);
}

void Project::AddTopFile(const std::string &path)
{
    ProjectListView &view = m_view.topFileList();
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
    const std::string upper = AsciiUpper(path);
    m_topFiles.push_back(upper);
    ++m_topFileCounts[upper];
    view.add(upper);
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
}

void Project::AddTopFiles(const std::vector<std::string> &paths)
{
    ProjectListView &view = m_view.topFileList();
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
    std::vector<std::string> added;
    added.reserve(paths.size());
    for (const std::string &path : paths) {
        added.push_back(AsciiUpper(path));
        ++m_topFileCounts[added.back()];
    }
    m_topFiles.insert(m_topFiles.end(), added.begin(), added.end());
    view.addAll(added);
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
}

void Project::RemoveTopFile(const std::string &path)
{
    ProjectListView &view = m_view.topFileList();
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
    const std::string upper = AsciiUpper(path);
    // Every exclusion asks this; a path that is no top page needs no search.
    const auto counted = m_topFileCounts.find(upper);
    if (counted == m_topFileCounts.end())
        return;
    const size_t index = indexOfFirst(m_topFiles, upper);
    m_topFiles.erase(m_topFiles.begin() + static_cast<std::ptrdiff_t>(index));
    if (--counted->second == 0)
        m_topFileCounts.erase(counted);
    eraseFromView(view, index, upper);
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
}

void Project::RemoveTopFilesWhere(const std::function<bool(const std::string &)> &drop)
{
    ProjectListView &view = m_view.topFileList();
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
    const size_t removed = std::erase_if(m_topFiles, drop);
    if (removed == 0)
        return;
    m_topFileCounts.clear();
    for (const std::string &entry : m_topFiles)
        ++m_topFileCounts[entry];
    refillView(view, m_topFiles);
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
}

void Project::ClearTopFiles()
{
    m_topFiles.clear();
    m_topFileCounts.clear();
    clearView(m_view.topFileList());
    ORVANE_ASSERT(sameCount(m_topFiles, m_view.topFileList()), Unit);
}

int Project::IndexOfTopFile(const std::string &path) const
{
    const std::string upper = AsciiUpper(path);
    if (m_topFileCounts.count(upper) == 0)
        return -1;
    return static_cast<int>(indexOfFirst(m_topFiles, upper));
}

void Project::AddIgnoreFile(const std::string &path)
{
    ProjectListView &view = m_view.ignoreFileList();
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
    const std::string upper = AsciiUpper(path);
    const auto it = std::lower_bound(m_ignoreFiles.begin(), m_ignoreFiles.end(), upper, TextLess());
    if (it == m_ignoreFiles.end() || !SameText(*it, upper)) {
        m_ignoreFiles.insert(it, upper);
        view.add(upper);
    }
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
    RemoveTopFile(path);
}

void Project::RemoveIgnoreFile(const std::string &path)
{
    ProjectListView &view = m_view.ignoreFileList();
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
    const std::string upper = AsciiUpper(path);
    const auto it = std::lower_bound(m_ignoreFiles.begin(), m_ignoreFiles.end(), upper, TextLess());
    // Every file object asks this when it is made; the displayed list holds the
    // same texts as the model, so a path the model lacks needs no search there.
    if (it == m_ignoreFiles.end() || !SameText(*it, upper))
        return;
    const size_t index = static_cast<size_t>(it - m_ignoreFiles.begin());
    m_ignoreFiles.erase(it);
    eraseFromView(view, index, upper);
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
}

void Project::AddIgnoreFiles(const std::vector<std::string> &paths)
{
    ProjectListView &view = m_view.ignoreFileList();
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
    std::vector<std::string> added;
    for (const std::string &path : paths)
        added.push_back(AsciiUpper(path));
    std::stable_sort(added.begin(), added.end(), TextLess());
    std::vector<std::string> merged;
    merged.reserve(m_ignoreFiles.size() + added.size());
    // Entries already there stay, and of equal new ones the first given.
    std::merge(m_ignoreFiles.begin(), m_ignoreFiles.end(), added.begin(), added.end(),
               std::back_inserter(merged), TextLess());
    merged.erase(
        std::unique(merged.begin(), merged.end(),
                    [](const std::string &a, const std::string &b) { return SameText(a, b); }),
        merged.end());
    if (merged.size() != m_ignoreFiles.size()) {
        // Entries that all sort after the old ones are shown by adding them.
        const size_t old = m_ignoreFiles.size();
        const bool appended = std::equal(m_ignoreFiles.begin(), m_ignoreFiles.end(), merged.begin(),
                                         merged.begin() + old);
        m_ignoreFiles = std::move(merged);
        if (appended)
            view.addAll(std::vector<std::string>(m_ignoreFiles.begin() + old, m_ignoreFiles.end()));
        else
            refillView(view, m_ignoreFiles);
    }
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
    removeTopFilesOnce(paths);
}

void Project::removeTopFilesOnce(const std::vector<std::string> &paths)
{
    // RemoveTopFile for each path: the first occurrence of each goes, and of
    // a path given twice the first two.
    std::unordered_map<std::string, size_t> pending;
    for (const std::string &path : paths) {
        std::string upper = AsciiUpper(path);
        if (m_topFileCounts.count(upper) > 0)
            ++pending[std::move(upper)];
    }
    if (pending.empty())
        return;
    RemoveTopFilesWhere([&](const std::string &entry) {
        const auto it = pending.find(entry);
        if (it == pending.end() || it->second == 0)
            return false;
        --it->second;
        return true;
    });
}

void Project::RemoveIgnoreFilesWhere(const std::function<bool(const std::string &)> &drop)
{
    ProjectListView &view = m_view.ignoreFileList();
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
    if (std::erase_if(m_ignoreFiles, drop) > 0)
        refillView(view, m_ignoreFiles);
    ORVANE_ASSERT(sameCount(m_ignoreFiles, view), Unit);
}

void Project::ClearIgnoreFiles()
{
    ORVANE_ASSERT(sameCount(m_ignoreFiles, m_view.ignoreFileList()), Unit);
    m_ignoreFiles.clear();
    clearView(m_view.ignoreFileList());
    ORVANE_ASSERT(sameCount(m_ignoreFiles, m_view.ignoreFileList()), Unit);
}

bool Project::IsIgnoreFile(const std::string &path) const
{
    return std::binary_search(m_ignoreFiles.begin(), m_ignoreFiles.end(), AsciiUpper(path),
                              TextLess());
}

void Project::AddWildCard(const std::string &pattern)
{
    ProjectListView &view = m_view.wildCardList();
    ORVANE_ASSERT(sameCount(m_wildCards, view), Unit);
    m_wildCards.push_back(pattern);
    view.add(pattern);
    ORVANE_ASSERT(sameCount(m_wildCards, view), Unit);
}

void Project::AddWildCards(const std::vector<std::string> &patterns)
{
    ProjectListView &view = m_view.wildCardList();
    ORVANE_ASSERT(sameCount(m_wildCards, view), Unit);
    m_wildCards.insert(m_wildCards.end(), patterns.begin(), patterns.end());
    view.addAll(patterns);
    ORVANE_ASSERT(sameCount(m_wildCards, view), Unit);
}

void Project::AddIgnoreFolder(const std::string &folder)
{
    // An empty text names no folder; as a pattern it would be an empty entry.
    if (folder.empty())
        return;
    AddWildCard(AsciiUpper(IncludeTrailingDelimiter(folder)));
}

void Project::RemoveWildCard(const std::string &pattern)
{
    ProjectListView &view = m_view.wildCardList();
    ORVANE_ASSERT(sameCount(m_wildCards, view), Unit);
    const size_t index = indexOfFirst(m_wildCards, pattern);
    if (index < m_wildCards.size()) {
        m_wildCards.erase(m_wildCards.begin() + static_cast<std::ptrdiff_t>(index));
        eraseFromView(view, index, pattern);
    }
    ORVANE_ASSERT(sameCount(m_wildCards, view), Unit);
}

void Project::ClearWildCards()
{
    m_wildCards.clear();
    clearView(m_view.wildCardList());
    ORVANE_ASSERT(sameCount(m_wildCards, m_view.wildCardList()), Unit);
}

bool Project::MatchWildCard(const std::string &fileName, bool ignoreCase) const
{
    const std::string upperName = ignoreCase ? AsciiUpper(fileName) : std::string();
    for (const std::string &entry : m_wildCards) {
        // An empty entry can only come from a hand-edited project file.
        if (entry.empty() || isFolderPattern(entry))
            continue;
        const bool match = ignoreCase ? WildCardMatch(AsciiUpper(entry), upperName)
                                      : WildCardMatch(entry, fileName);
        if (match)
            return true;
    }
    return false;
}

bool Project::IsIgnoredFolder(const std::string &folder) const
{
    // Folder patterns are stored upper-cased, so the folder is folded to meet
    // them; the pattern is compared as stored.
    const std::string path = AsciiUpper(IncludeTrailingDelimiter(folder));
    for (const std::string &entry : m_wildCards) {
        if (entry.empty() || !isFolderPattern(entry))
            continue;
        if (StartsWith(path, entry))
            return true;
    }
    return false;
}

std::string Project::LinkToPath(const std::string &page, const std::string &link) const
{
    std::string path;
    LinkToPathInto(page, link, path);
    return path;
}

void Project::LinkToPathInto(const std::string &page, const std::string &link,
                             std::string &out) const
{
    if (!link.empty() && link.front() == '/' && !m_serverRoot.empty())
        URLToPathInto(m_serverRoot, link.substr(1), out);
    else
        URLToPathInto(page, link, out);
}

void Project::SetFileName(const std::string &name)
{
    m_fileName = name;
    const std::string title = name.empty() ? Tr(QT_TRANSLATE_NOOP("Orvane", "untitled"))
                                           : std::string(ExtractFileName(name));
    m_view.setMainTitle(title + " - Orvane");
    m_view.setProjectTitle(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 - プロジェクト情報"), {title}));
}

void Project::ForgetFile(const std::string &path)
{
    RemoveTopFile(path);
    RemoveIgnoreFile(path);
}

} // namespace orvane
