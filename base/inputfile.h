#pragma once

#include <string>

namespace orvane {

/// What a path that a program is told to read names, links followed.
enum class InputFileKind {
    missing,    // nothing there (or the path cannot be looked at)
    regular,    // a regular file
    nullDevice, // the null device, which reads as empty
    other,      // a folder, a FIFO, a device, a socket: never read as a file
};

/// The kind of what path names; looks without opening it.
InputFileKind InputFileKindOf(const std::string &path);

enum class InputRead { read, missing, notRegular, failed };

/// Reads the whole of a regular file (or the null device, as empty) into text.
/// The file is opened without blocking and looked at before any byte is read,
/// so a FIFO or a device named in its place is refused at once (notRegular)
/// instead of holding the program or feeding it without end. A missing file
/// gives missing; any other failure failed. text is empty unless read.
InputRead ReadInputFile(const std::string &path, std::string &text);

/// The message for a path that cannot be taken as a file to read:
/// "<path>\r\nは通常のファイルではありません" (is not a regular file).
std::string NotRegularFileMessage(const std::string &path);

} // namespace orvane
