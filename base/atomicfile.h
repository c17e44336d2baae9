#pragma once

#include <string>
#include <string_view>

namespace orvane {

/// Replaces the file at path with contents: writes a temporary file in the same
/// folder, flushes it, and renames it over path. The new file keeps the
/// permission bits (0644 less the umask for a new one) and, where the process
/// may set it, the owner of the file it replaces. A symbolic link stays a link:
/// the file it leads to is the one replaced.
/// On any failure the temporary file is removed, the old file is left as it
/// was, and EWriteError is thrown.
void WriteFileAtomically(const std::string &path, std::string_view contents);

} // namespace orvane
