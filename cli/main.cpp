#include "base/allocator.h"
#include "cli/checkcommand.h"

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    // Before the site takes its memory; the window keeps small pages (see
    // ChooseLargePages).
    orvane::ChooseLargePages();
    const std::vector<std::string> args(argv + 1, argv + argc);
    orvane::cli::RunEnvironment environment;
    environment.progressTerminal = ::isatty(STDERR_FILENO) == 1;
    environment.locale = orvane::LocaleVariables::FromEnvironment();
#if !defined(__SANITIZE_ADDRESS__)
    // The checked site is left standing for the system to take back with the
    // process; under the address sanitizer it is taken apart, as the leak
    // check would report it otherwise.
    environment.endsProcess = true;
#endif
    return orvane::cli::RunCheck(args, std::cout, std::cerr, environment);
}
