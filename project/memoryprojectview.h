#pragma once

#include "project/projectview.h"

#include <string>
#include <vector>

namespace orvane {

/// A displayed list kept in memory: the model of the project window's lists for
/// programs without a window and for tests.
class MemoryListView : public ProjectListView
{
public:
    explicit MemoryListView(bool sorted = false)
        : m_sorted(sorted)
    {
    }
    void add(const std::string &text) override;
    void deleteAt(int index) override;
    int indexOf(const std::string &text) const override;
    std::string textAt(int index) const override;
    void clear() override { m_items.clear(); }
    int count() const override { return static_cast<int>(m_items.size()); }

    const std::vector<std::string> &items() const { return m_items; }

private:
    bool m_sorted;
    std::vector<std::string> m_items;
};

/// A project view kept in memory.
class MemoryProjectView : public ProjectView
{
public:
    ProjectListView &topFileList() override { return topFiles; }
    ProjectListView &ignoreFileList() override { return ignoreFiles; }
    ProjectListView &wildCardList() override { return wildCards; }
    void setHomeDirLabel(const std::string &text) override { homeDirLabel = text; }
    void setServerRootLabel(const std::string &text) override { serverRootLabel = text; }
    void setMainTitle(const std::string &title) override { mainTitle = title; }
    void setProjectTitle(const std::string &title) override { projectTitle = title; }

    MemoryListView topFiles;
    MemoryListView ignoreFiles{true};
    MemoryListView wildCards;
    std::string homeDirLabel = "未設定";
    std::string serverRootLabel = "未設定";
    std::string mainTitle = "Orvane";
    std::string projectTitle = "プロジェクト情報";
};

} // namespace orvane
