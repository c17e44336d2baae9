#include "clirun.h"

#include "cli/checkcommand.h"

#include <filesystem>
#include <sstream>

namespace orvane::test {

CliResult runCheckerRaw(const std::vector<std::string> &args)
{
    std::ostringstream out, err;
    CliResult result;
    result.status = cli::RunCheck(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

CliResult runChecker(std::vector<std::string> args)
{
    args.insert(args.begin(), {"-s", "/dev/null"});
    return runCheckerRaw(args);
}

CurrentFolder::CurrentFolder(const std::string &folder)
    : m_previous(std::filesystem::current_path().string())
{
    std::filesystem::current_path(folder);
}

CurrentFolder::~CurrentFolder()
{
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
}

} // namespace orvane::test
