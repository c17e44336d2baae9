#pragma once

#include <string>

namespace orvane {
class Project;
struct Settings;
} // namespace orvane

namespace orvane::cli {

struct CheckOptions;

/// A path given on the command line for something inside the site: an
/// absolute one as it is, a relative one taken from the home folder (which
/// ends in "/"); both made absolute lexically, so they compare with the paths
/// of the scan. A trailing "/" stays.
std::string PathFromHome(const std::string &home, const std::string &path);

/// Adds the command-line items to the project in this order: the top pages
/// (or, for a plain folder without any, the DefaultFileName page of the home
/// folder when that file exists), the exclusions, the patterns (one ending in
/// "/" as a folder), then the server root, taken from the current folder.
void AddCommandLineItems(Project &project, const CheckOptions &options, const std::string &home,
                         bool plainFolder, const Settings &settings);

} // namespace orvane::cli
