#pragma once

#include <string>

namespace orvane {

class Project;

/// Section of every project file.
inline constexpr const char *ProjectSection = "OrvaneProject";

/// Loads a project file into the project: clears the three lists, then
/// SetHomeDir("HomeDir"), SetServerRoot("ServerRoot"), AddTopFile for
/// TopFile0.., AddIgnoreFile for IgnoreFile0.., AddWildCard for WildCards0..;
/// each list is read until its first missing key.
void ReadProjectFile(const std::string &path, Project &project);

/// Writes the project as a whole new file (HomeDir, ServerRoot, TopFile0..,
/// IgnoreFile0.., WildCards0.., CR LF line ends) to a temporary file renamed
/// over path. On failure throws EWriteError with "<path> に書き込めません"; the
/// old file stays as it was. A project with an entry holding a CR or LF (a
/// file name may) is refused the same way, the message naming the entry.
void WriteProjectFile(const std::string &path, const Project &project);

} // namespace orvane
