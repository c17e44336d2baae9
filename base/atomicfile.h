#pragma once

#include <string>
#include <string_view>

#include <sys/stat.h>

namespace orvane {

/// Replaces the file at path with contents: writes a temporary file in the same
/// folder, flushes it, and renames it over path. The new file keeps the
/// permission bits (0644 less the umask for a new one) and, where the process
/// may set it, the owner of the file it replaces. A symbolic link stays a link:
/// the file it leads to is the one replaced. Anything but a regular file at
/// that place (a FIFO, a device, a folder) is refused and left alone.
/// On any failure the temporary file is removed, the old file is left as it
/// was, and EWriteError is thrown.
void WriteFileAtomically(const std::string &path, std::string_view contents);

/// As WriteFileAtomically for the entry name of the open folder dirFd, but
/// only while name still is the regular file expected (not a link, the same
/// device and inode): anything else there is left alone and EWriteError is
/// thrown. shownPath names the file in the error's text.
void ReplaceFileAt(int dirFd, const std::string &name, std::string_view contents,
                   const struct stat &expected, const std::string &shownPath);

/// Whether name is that of a temporary file of these writes
/// (".orvane-XXXXXX.part"); a folder scan leaves such files out.
bool IsTemporaryFileName(std::string_view name);

/// Removes the temporary files of the open folder dirFd whose writer is gone:
/// a write holds a lock on its temporary file for as long as it runs, and the
/// system drops the lock when the writer ends, also when it is killed. A file
/// younger than a few seconds is left, as its writer may not have taken its
/// lock yet. Failures are ignored.
void RemoveAbandonedTemporaryFiles(int dirFd);

} // namespace orvane
