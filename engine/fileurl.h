#pragma once

#include <optional>
#include <string>

namespace orvane {

/// The local path of a "file://" URL, or nothing when it is none or has three
/// or more slashes after the scheme's. "|" becomes ":" and "\" becomes "/".
/// One leading slash gives an absolute path; none or two give a network path
/// "//host/share/..." (which never exists here).
std::optional<std::string> FileUrlToPath(const std::string &url);

} // namespace orvane
