#pragma once

#include "settings/language.h"

#include <ostream>
#include <string>
#include <vector>

namespace orvane::cli {

/// Exit statuses of the checker.
enum ExitStatus : int { ExitClean = 0, ExitFindings = 1, ExitFailure = 2 };

/// What the checker takes from the process around it.
struct RunEnvironment
{
    bool progressTerminal = false; // standard error is a terminal
    std::string programPath;       // for the settings file; empty: this program
    LocaleVariables locale;        // unset: the program's own language, Japanese
    bool endsProcess = false;      // the process ends next: the site is not taken apart
};

/// The whole checker: parses args (without the program name), reads the
/// settings, opens the folder or project file, adds the command-line items to
/// the project (top pages or the default page, exclusions, patterns, server
/// root, in this order), checks with the analysis and writes the report to
/// out. Messages and progress go to err, in the language of --lang, else of
/// the Language setting, else of the locale (usage errors and --help, which
/// read no settings, skip the setting). Returns ExitClean, ExitFindings, or
/// ExitFailure for bad usage and a folder or project that cannot be read.
int RunCheck(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
             const RunEnvironment &environment = {});

} // namespace orvane::cli
