#pragma once

#include <functional>
#include <string>

namespace orvane::test {

/// Makes depth folders named name inside each other below folder, holding one
/// descriptor at a time, so that the paths may grow beyond the system's limit
/// on a path. each(fd, level) runs in every new folder (level 1 is the first).
/// Returns the full path of the deepest folder, with "/".
std::string MakeDeepFolders(const std::string &folder, const std::string &name, int depth,
                            const std::function<void(int fd, int level)> &each = {});

/// Writes a file into the open folder fd.
void WriteFileAt(int fd, const std::string &name, const std::string &contents);

/// How many descriptors the process may have open (the soft limit), and
/// setting it; false when the limit cannot be set so.
long OpenFileLimit();
bool SetOpenFileLimit(long limit);

} // namespace orvane::test
