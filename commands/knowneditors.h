#pragma once

#include <string>
#include <vector>

namespace orvane {

/// A text editor common on Linux desktops, with its own command-line syntax
/// for opening a file and for opening it at a line, written as the two
/// templates of the settings ("%F" the file, "%N" the line).
struct KnownEditor
{
    const char *program; // the name it is run by, looked up in PATH
    const char *commandLineOption;
    const char *tagJumpCommandLineOption;
};

/// The editors the settings dialog offers, in the order it offers them.
const std::vector<KnownEditor> &KnownEditors();

/// A known editor found on this machine.
struct InstalledEditor
{
    KnownEditor editor;
    std::string path; // where it was found
};

/// The known editors that searchPath (a PATH value) holds as executable
/// files, in the order of KnownEditors.
std::vector<InstalledEditor> InstalledEditors(const std::string &searchPath);

} // namespace orvane
