#include "commands/knowneditors.h"

#include "commands/launcher.h"

namespace orvane {

// Each line syntax is the one the editor's own --help or manual page gives.
// GNOME Text Editor documents none, so its tag jump opens the file only.
const std::vector<KnownEditor> &KnownEditors()
{
    static const std::vector<KnownEditor> editors{
        {"gedit", "%F", "%F +%N"},          {"gnome-text-editor", "%F", "%F"},
        {"kate", "%F", "--line %N %F"},     {"kwrite", "%F", "--line %N %F"},
        {"mousepad", "%F", "--line=%N %F"}, {"pluma", "%F", "+%N %F"},
        {"featherpad", "%F", "+%N %F"},     {"geany", "%F", "+%N %F"},
        {"gvim", "%F", "+%N %F"},           {"emacs", "%F", "+%N %F"},
    };
    return editors;
}

std::vector<InstalledEditor> InstalledEditors(const std::string &searchPath)
{
    std::vector<InstalledEditor> found;
    for (const KnownEditor &editor : KnownEditors()) {
        std::string path = FindProgram(editor.program, searchPath);
        // An empty PATH entry finds programs in the current folder, which is
        // no place to take an editor from.
        if (!path.empty() && path[0] == '/')
            found.push_back({editor, std::move(path)});
    }
    return found;
}

} // namespace orvane
