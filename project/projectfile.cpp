#include "project/projectfile.h"

#include "base/errors.h"
#include "base/profilefile.h"
#include "project/project.h"

#include <functional>

namespace orvane {

namespace {

// A list runs from key 0 to the first number that is missing. A value of
// "-1" is an entry like any other: a pattern typed as -1 must survive a
// save and a load.
void readList(const ProfileFile &file, const std::string &key,
              const std::function<void(const std::string &)> &add)
{
    for (long i = 0;; ++i) {
        const std::string name = key + std::to_string(i);
        if (!file.KeyExists(ProjectSection, name))
            return;
        add(file.ReadString(ProjectSection, name, {}));
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
    readList(file, "TopFile", [&](const std::string &v) { project.AddTopFile(v); });
    readList(file, "IgnoreFile", [&](const std::string &v) { project.AddIgnoreFile(v); });
    readList(file, "WildCards", [&](const std::string &v) { project.AddWildCard(v); });
}

void WriteProjectFile(const std::string &path, const Project &project)
{
    // A file name may hold a line break, which cannot be stored on a line of
    // its own: the entry, and keys after it, would be lost or misread on the
    // next load. Such a project is not saved at all; the old file stays.
    if (const std::string *entry = entryWithLineBreak(project))
        throw EWriteError(path + " に書き込めません\r\n改行を含む項目は保存できません: " + *entry);
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
        throw EWriteError(path + " に書き込めません");
    }
}

} // namespace orvane
