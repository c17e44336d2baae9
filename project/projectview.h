#pragma once

#include <string>
#include <vector>

namespace orvane {

/// One displayed list of the project window. The project model is its only
/// writer; the window shows it, tests and the command-line checker keep it in
/// memory. The ignore list sorts itself (case-insensitively) on add.
class ProjectListView
{
public:
    virtual ~ProjectListView() = default;
    virtual void add(const std::string &text) = 0;
    /// Adds the texts in order, as add would one by one (a view may do it at
    /// once).
    virtual void addAll(const std::vector<std::string> &texts)
    {
        for (const std::string &text : texts)
            add(text);
    }
    virtual void deleteAt(int index) = 0;
    /// Index of the first entry equal to text without regard to case, or -1.
    virtual int indexOf(const std::string &text) const = 0;
    /// The entry at index (empty outside the list).
    virtual std::string textAt(int index) const = 0;
    virtual void clear() = 0;
    virtual int count() const = 0;
    virtual void beginUpdate() {}
    virtual void endUpdate() {}
};

/// Everything of the project model that the user sees: the three lists of the
/// project window, its two folder labels and the titles of both windows.
class ProjectView
{
public:
    virtual ~ProjectView() = default;
    virtual ProjectListView &topFileList() = 0;
    virtual ProjectListView &ignoreFileList() = 0;
    virtual ProjectListView &wildCardList() = 0;
    virtual void setHomeDirLabel(const std::string &text) = 0;
    virtual void setServerRootLabel(const std::string &text) = 0;
    virtual void setMainTitle(const std::string &title) = 0;
    virtual void setProjectTitle(const std::string &title) = 0;
};

} // namespace orvane
