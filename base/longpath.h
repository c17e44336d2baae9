#pragma once

#include <string>

#include <sys/stat.h>

namespace orvane {

/// Opens path as openat(AT_FDCWD, path, flags) does, also when path is longer
/// than the system's limit on a path (PATH_MAX): the folders of such a path are
/// then opened a stretch at a time, each stretch below the limit, and the rest
/// is opened relative to the last of them. Symbolic links in the stretches are
/// followed as the system follows them; flags apply to the last component.
/// Returns the descriptor, or -1 with errno set. O_CLOEXEC is always added.
int OpenPath(const std::string &path, int flags, mode_t mode = 0);

/// fstatat for any length of path: the entry's status, the last component's
/// link followed only with followLink. Returns 0, or -1 with errno set.
int StatPath(const std::string &path, struct stat &status, bool followLink);

} // namespace orvane
