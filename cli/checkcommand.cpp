#include "cli/checkcommand.h"

#include "base/inputfile.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "cli/consolehost.h"
#include "cli/githubreport.h"
#include "cli/jsonreport.h"
#include "cli/options.h"
#include "cli/projectsetup.h"
#include "cli/referrerreport.h"
#include "cli/settingoverride.h"
#include "cli/sitereport.h"
#include "cli/textreport.h"
#include "engine/checkrun.h"
#include "engine/fileobject.h"
#include "engine/site.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "project/projectfile.h"
#include "settings/settings.h"

#include <exception>

#include <dirent.h>
#include <unistd.h>

#ifndef ORVANE_VERSION
#define ORVANE_VERSION "unknown"
#endif

namespace orvane::cli {

namespace {

/// A failure already explained on standard error.
struct RunFailure
{
};

class Checker
{
public:
    Checker(const CheckOptions &options, std::ostream &err, bool progress)
        : m_options(options)
        , m_err(err)
        , m_host(err, progress && !options.quiet, options.quiet)
    {
    }

    /// The check and its report; failures are told on err.
    int execute(std::ostream &out, const std::string &programPath);

private:
    /// Ends the run with a message; text is printable already.
    [[noreturn]] void fail(const std::string &text)
    {
        m_host.finishProgress();
        m_err << "orvane-check: " << text << '\n';
        throw RunFailure{};
    }
    int run(std::ostream &out);
    void loadSettings(const std::string &programPath);
    std::string openSite();
    void checkReadable(const std::string &home);
    void warnAboutMissingTopPages(const std::string &home);
    /// The file --referrers names; fails when the site has none such.
    const FileObject *referrersFile(const std::string &home);

    const CheckOptions &m_options;
    std::ostream &m_err;
    ConsoleHost m_host;
    Settings m_settings;
    MemoryProjectView m_view;
    Project m_project{m_view};
    Site m_site{m_host, m_settings, m_project};
    bool m_plainFolder = true;
};

bool isProjectFile(const std::string &path)
{
    return SameText(ExtractFileExt(path), ".ovp") || FileExists(path);
}

bool readable(const std::string &path)
{
    return ::access(path.c_str(), R_OK) == 0;
}

void Checker::loadSettings(const std::string &programPath)
{
    const std::string &file = m_options.settingsFile;
    // Any readable file will do, so /dev/null gives the defaults; a FIFO or
    // a device would hold the checker or feed it without end.
    if (!file.empty() && (DirectoryExists(file) || !readable(file)))
        fail(PrintableText(file) + ": the settings file cannot be read");
    if (!file.empty() && InputFileKindOf(file) == InputFileKind::other)
        fail(PrintableText(file) + ": the settings file is not a regular file");
    LoadSettings(m_settings, m_options.settingsFile.empty() ? SettingsFilePath(programPath)
                                                            : m_options.settingsFile);
    for (const auto &[key, value] : m_options.overrides)
        ApplySettingOverride(m_settings, key, value);
    // The summary is the report's first part, so the box is always asked for.
    m_settings.HideInfoBoxAfterCheck = false;
}

/// The home folder, made absolute lexically, with the project read first when
/// PATH names one.
std::string Checker::openSite()
{
    const std::string &path = m_options.path;
    if (!isProjectFile(path))
        return IncludeTrailingDelimiter(ExpandFileName(path));
    m_plainFolder = false;
    if (InputFileKindOf(path) == InputFileKind::other && !DirectoryExists(path))
        fail(PrintableText(path) + ": the project file is not a regular file");
    if (!FileExists(path))
        fail(PrintableText(path) + " が見つかりません");
    if (!readable(path))
        fail(PrintableText(path) + ": the project file cannot be read");
    ReadProjectFile(path, m_project);
    if (m_project.HomeDir().empty())
        fail(PrintableText(path) + ": the project file names no home folder (HomeDir)");
    return IncludeTrailingDelimiter(ExpandFileName(m_project.HomeDir()));
}

void Checker::checkReadable(const std::string &home)
{
    if (!DirectoryExists(home))
        fail("ディレクトリが存在しません " + PrintableText(home));
    DIR *dir = ::opendir(home.c_str());
    if (!dir)
        fail(PrintableText(home) + ": the folder cannot be read");
    ::closedir(dir);
    if (!m_options.serverRoot.empty() && !DirectoryExists(m_options.serverRoot))
        fail(PrintableText(m_options.serverRoot) + ": the server root is not a folder");
}

const FileObject *Checker::referrersFile(const std::string &home)
{
    const std::string path = PathFromHome(home, m_options.referrersOf);
    const FileObject *file = m_site.FileObjects.FindFileObject(path, false);
    if (!file)
        file = m_site.FileObjects.FindFileObject(path, m_settings.IgnoreCase);
    if (!file)
        fail(PrintableText(m_options.referrersOf) + ": not a file of the site");
    return file;
}

void Checker::warnAboutMissingTopPages(const std::string &home)
{
    if (m_options.quiet)
        return;
    for (const std::string &top : m_options.topFiles) {
        if (!m_site.FindFileNode(PathFromHome(home, top), true))
            m_err << "orvane-check: warning: top page not in the site: " << PrintableText(top)
                  << '\n';
    }
}

int Checker::run(std::ostream &out)
{
    const std::string home = openSite();
    checkReadable(home);
    AddCommandLineItems(m_project, m_options, home, m_plainFolder, m_settings);
    CheckFolder(m_site, home, true);
    m_host.finishProgress();
    if (m_host.informations().empty())
        fail("the check of " + PrintableText(home) + " did not finish");
    warnAboutMissingTopPages(home);
    if (!m_options.referrersOf.empty()) {
        const FileObject *file = referrersFile(home);
        WriteReferrersReport(out, m_site, *file, m_options.format == ReportFormat::Json);
        out.flush();
        return ExitClean;
    }
    if (m_options.format == ReportFormat::Json)
        WriteJsonReport(out, m_site, m_options.referrersAll);
    else if (m_options.format == ReportFormat::Github)
        WriteGithubReport(out, m_site, m_host.informations().back(), ExpandFileName("."));
    else
        WriteTextReport(out, m_site, m_host.informations().back());
    out.flush();
    return HasFindings(m_site) ? ExitFindings : ExitClean;
}

int Checker::execute(std::ostream &out, const std::string &programPath)
{
    try {
        loadSettings(programPath);
        return run(out);
    } catch (const RunFailure &) {
        return ExitFailure;
    } catch (const std::exception &e) {
        // An engine failure (an assertion, a failed allocation) ends the
        // check as it would end a command of the window.
        m_host.finishProgress();
        m_err << "orvane-check: " << PrintableText(e.what()) << '\n';
        return ExitFailure;
    }
}

} // namespace

int RunCheck(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
             const RunEnvironment &environment)
{
    CheckOptions options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError &e) {
        err << "orvane-check: " << e.what()
            << "\nTry 'orvane-check --help' for more information.\n";
        return ExitFailure;
    }
    if (options.help) {
        out << HelpText();
        return ExitClean;
    }
    if (options.version) {
        out << "orvane-check " ORVANE_VERSION "\n";
        return ExitClean;
    }
    Checker checker(options, err, environment.progressTerminal);
    return checker.execute(out, environment.programPath);
}

} // namespace orvane::cli
