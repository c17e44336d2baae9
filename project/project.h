#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class ProjectView;

/// The one project: home folder, server root, top pages, excluded files and
/// ignore patterns. Every change is mirrored in the same step on its view (the
/// project window's lists and labels and both window titles); the add, remove
/// and clear operations assert that model and view hold equally many entries.
///
/// File paths in TopFiles and IgnoreFiles are upper-cased (a-z folded);
/// IgnoreFiles is kept sorted without duplicates (case-insensitive). Folders
/// end in "/". A WildCards entry that ends in "/" is a folder pattern.
///
/// Long lists stay cheap: asking whether a path is a top page or excluded
/// costs no walk over the lists, an entry is removed from its view where it
/// stands in the model, and the bulk operations change a list in one pass.
class Project
{
public:
    explicit Project(ProjectView &view);

    const std::string &FileName() const { return m_fileName; }
    const std::vector<std::string> &TopFiles() const { return m_topFiles; }
    const std::vector<std::string> &IgnoreFiles() const { return m_ignoreFiles; }
    const std::vector<std::string> &WildCards() const { return m_wildCards; }
    const std::string &HomeDir() const { return m_homeDir; }
    const std::string &ServerRoot() const { return m_serverRoot; }

    /// Empty: no effect. Otherwise takes the folder, appending "/" if missing.
    void SetHomeDir(const std::string &folder);
    /// Empty clears the server root (label "未設定").
    void SetServerRoot(const std::string &folder);

    void AddTopFile(const std::string &path);
    /// Adds many paths as AddTopFile adds each, at once.
    void AddTopFiles(const std::vector<std::string> &paths);
    void RemoveTopFile(const std::string &path);
    /// Removes every top page for which drop is true, in one pass: the same as
    /// removing them one by one, without the cost of each.
    void RemoveTopFilesWhere(const std::function<bool(const std::string &)> &drop);
    void ClearTopFiles();
    int IndexOfTopFile(const std::string &path) const;

    /// Adds the path (once) and drops it from the top pages.
    void AddIgnoreFile(const std::string &path);
    /// Adds many paths as AddIgnoreFile adds each, merging them in at once.
    void AddIgnoreFiles(const std::vector<std::string> &paths);
    void RemoveIgnoreFile(const std::string &path);
    /// Removes every excluded file for which drop is true, in one pass.
    void RemoveIgnoreFilesWhere(const std::function<bool(const std::string &)> &drop);
    void ClearIgnoreFiles();
    /// Binary search in the sorted IgnoreFiles.
    bool IsIgnoreFile(const std::string &path) const;

    void AddWildCard(const std::string &pattern);
    /// Adds many patterns as AddWildCard adds each, at once.
    void AddWildCards(const std::vector<std::string> &patterns);
    /// Appends "/" if missing, upper-cases, then AddWildCard.
    void AddIgnoreFolder(const std::string &folder);
    void RemoveWildCard(const std::string &pattern);
    void ClearWildCards();

    /// Whether any file pattern matches the bare file name; with ignoreCase
    /// both sides are upper-cased (ASCII) first. Folder patterns and empty
    /// entries are skipped.
    bool MatchWildCard(const std::string &fileName, bool ignoreCase) const;
    /// Whether the folder is a folder pattern's folder or lies below it.
    bool IsIgnoredFolder(const std::string &folder) const;

    /// The local path a link (path part, never empty) of the page points to:
    /// a link starting with "/" resolves against ServerRoot when that is set,
    /// anything else against the page's folder.
    std::string LinkToPath(const std::string &page, const std::string &link) const;
    /// The same into out, whose room is used again.
    void LinkToPathInto(const std::string &page, const std::string &link, std::string &out) const;

    /// Takes the project file name and retitles both windows.
    void SetFileName(const std::string &name);

    /// Drops the path from the top pages and the excluded files.
    void ForgetFile(const std::string &path);

private:
    void removeTopFilesOnce(const std::vector<std::string> &paths);

    ProjectView &m_view;
    std::string m_fileName;
    std::vector<std::string> m_topFiles;
    // How often each entry stands in m_topFiles: most paths asked about are
    // no top page, and the answer must not cost a walk over a long list.
    std::unordered_map<std::string, size_t> m_topFileCounts;
    std::vector<std::string> m_ignoreFiles;
    std::vector<std::string> m_wildCards;
    std::string m_homeDir;
    std::string m_serverRoot;
};

} // namespace orvane
