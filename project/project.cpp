#include "project/project.h"

#include "base/errors.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "project/projectview.h"
#include "project/wildcard.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr const char *Unit = "OrvaneProjct";
constexpr const char *NotSet = "未設定";

bool sameCount(const std::vector<std::string> &list, const ProjectListView &view)
{
    return static_cast<long>(list.size()) == view.count();
}

// Removes the first entry equal to text (case ignored) from a list walked from the front.
void eraseFirst(std::vector<std::string> &list, const std::string &text)
{
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const std::string &entry) { return SameText(entry, text); });
    if (it != list.end())
        list.erase(it);
}

void eraseFromView(ProjectListView &view, const std::string &text)
{
    const int index = view.indexOf(text);
    if (index >= 0)
        view.deleteAt(index);
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
    m_view.setServerRootLabel(m_serverRoot.empty() ? std::string(NotSet) : m_serverRoot);
}

void Project::AddTopFile(const std::string &path)
{
    ProjectListView &view = m_view.topFileList();
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
    const std::string upper = AsciiUpper(path);
    m_topFiles.push_back(upper);
    view.add(upper);
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
}

void Project::RemoveTopFile(const std::string &path)
{
    ProjectListView &view = m_view.topFileList();
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
    const std::string upper = AsciiUpper(path);
    eraseFirst(m_topFiles, upper);
    eraseFromView(view, upper);
    ORVANE_ASSERT(sameCount(m_topFiles, view), Unit);
}

void Project::ClearTopFiles()
{
    m_topFiles.clear();
    clearView(m_view.topFileList());
    ORVANE_ASSERT(sameCount(m_topFiles, m_view.topFileList()), Unit);
}

int Project::IndexOfTopFile(const std::string &path) const
{
    const std::string upper = AsciiUpper(path);
    for (size_t i = 0; i < m_topFiles.size(); ++i)
        if (SameText(m_topFiles[i], upper))
            return static_cast<int>(i);
    return -1;
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
    m_ignoreFiles.erase(it);
    eraseFromView(view, upper);
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
    eraseFirst(m_wildCards, pattern);
    eraseFromView(view, pattern);
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
    if (!link.empty() && link.front() == '/' && !m_serverRoot.empty())
        return URLToPath(m_serverRoot, link.substr(1));
    return URLToPath(page, link);
}

void Project::SetFileName(const std::string &name)
{
    m_fileName = name;
    const std::string title =
        name.empty() ? std::string("untitled") : std::string(ExtractFileName(name));
    m_view.setMainTitle(title + " - Orvane");
    m_view.setProjectTitle(title + " - プロジェクト情報");
}

void Project::ForgetFile(const std::string &path)
{
    RemoveTopFile(path);
    RemoveIgnoreFile(path);
}

} // namespace orvane
