#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvane::cli {

/// A command line the checker cannot run; what() says why, for standard error.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// How the report is written: for people, for programs, or as a CI log's
/// annotations.
enum class ReportFormat { Text, Json, Github };

/// What the command line asks for, items in the order they were given.
struct CheckOptions
{
    std::string path;
    std::vector<std::string> topFiles;
    std::vector<std::string> excludeFiles;
    std::vector<std::string> wildCards;
    std::string serverRoot;   // empty: not given
    std::string settingsFile; // empty: the program's settings file
    std::vector<std::pair<std::string, std::string>> overrides; // INI key, value
    ReportFormat format = ReportFormat::Text; // the last --format or --json counts
    std::string referrersOf;                  // --referrers: only the pages linking to this file
    bool referrersAll = false;                // the JSON report lists each file's referrers
    bool quiet = false;
    std::string language; // "en" or "ja" from --lang; empty: not given
    bool help = false;
    bool version = false;
};

/// Parses the arguments (without the program name). Options take their value
/// as the next argument, glued to a short option ("-tindex.html") or after "="
/// of a long one ("--top=index.html"); "--" ends the options. With --help or
/// --version no PATH is needed. Throws UsageError for an unknown option, a
/// missing or empty value, a setting override with an unknown key or a value
/// its option cannot take, and for a missing or second PATH.
CheckOptions ParseOptions(const std::vector<std::string> &args);

/// The text of --help as written (Tr() gives it in the interface language).
const char *HelpText();

} // namespace orvane::cli
