#pragma once

#include <string>
#include <vector>

namespace orvane::test {

/// What one run of the checker gave.
struct CliResult
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the checker with args and the default settings (from /dev/null, so
/// that no settings file of the machine plays in), without progress.
CliResult runChecker(std::vector<std::string> args);

/// Runs the checker with exactly args.
CliResult runCheckerRaw(const std::vector<std::string> &args);

/// Changes the current folder for the lifetime of the object.
class CurrentFolder
{
public:
    explicit CurrentFolder(const std::string &folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    std::string m_previous;
};

} // namespace orvane::test
