#include "project/projectfile.h"

#include "base/errors.h"
#include "base/profilefile.h"
#include "base/usertext.h"
#include "project/project.h"

#include <optional>
#include <vector>

namespace orvane {

namespace {

// A list runs from key 0 to the first number that is missing. A value of
// "-1" is an entry like any other: a pattern typed as -1 must survive a
// save and a load.
std::vector<std::string> readList(const ProfileFile &file, const std::string &key)
{
    std::vector<std::string> list;
    for (long i = 0;; ++i) {
        std::optional<std::string> value =
            file.ReadIfPresent(ProjectSection, key + std::to_string(i));
        if (!value)
            return list;
        list.push_back(std::move(*value));
    }
}

void writeList(ProfileFile &file, const std::string &key, const std::vector<std::string> &list)
{
    for (size_t i = 0; i < list.size(); ++i)
        file.WriteString(ProjectSection, key + std::to_string(i), list[i]);
}

const std::string *entryWithLineBreak(const Project &project)
{
    for (const std::string *folder : {&project.HomeDir(), &project.ServerRoot()})
        if (!ProfileFile::FitsOnOneLine(*folder))
            return folder;
    for (const auto *list : {&project.TopFiles(), &project.IgnoreFiles(), &project.WildCards()})
        for (const std::string &entry : *list)
            if (!ProfileFile::FitsOnOneLine(entry))
                return &entry;
    return nullptr;
}

} // namespace

void ReadProjectFile(const std::string &path, Project &project)
{
    const ProfileFile file(path);
    project.ClearTopFiles();
    project.ClearIgnoreFiles();
    project.ClearWildCards();
    project.SetHomeDir(file.ReadString(ProjectSection, "HomeDir", {}));
    project.SetServerRoot(file.ReadString(ProjectSection, "ServerRoot", {}));
    // Each list is added as a whole, as adding its entries one by one would,
    // so that long lists cost no more than reading them.
    project.AddTopFiles(readList(file, "TopFile"));
    project.AddIgnoreFiles(readList(file, "IgnoreFile"));
    project.AddWildCards(readList(file, "WildCards"));
}

void WriteProjectFile(const std::string &path, const Project &project)
{
    // A file name may hold a line break, which cannot be stored on a line of
    // its own: the entry, and keys after it, would be lost or misread on the
    // next load. Such a project is not saved at all; the old file stays.
    if (const std::string *entry = entryWithLineBreak(project))
        throw EWriteError(
            Tr(QT_TRANSLATE_NOOP("Orvane",
                                 "%1 に書き込めません\r\n改行を含む項目は保存できません: %2"),
               {path, *entry}));
    // The file is written anew as a whole, so no key of an earlier, longer
    // project survives, and it replaces the old file only once it is complete.
    ProfileFile file(path);
    file.Clear();
    file.WriteString(ProjectSection, "HomeDir", project.HomeDir());
    file.WriteString(ProjectSection, "ServerRoot", project.ServerRoot());
    writeList(file, "TopFile", project.TopFiles());
    writeList(file, "IgnoreFile", project.IgnoreFiles());
    writeList(file, "WildCards", project.WildCards());
    try {
        file.Save();
    } catch (const EWriteError &) {
        throw EWriteError(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 に書き込めません"), {path}));
    }
}

} // namespace orvane
