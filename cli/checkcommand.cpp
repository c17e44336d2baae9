#include "cli/checkcommand.h"

#include "base/inputfile.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "base/usertext.h"
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
#include "translations/translator.h"

#include <exception>
#include <memory>

#include <dirent.h>
#include <unistd.h>

#ifndef ORVANE_VERSION
#define ORVANE_VERSION "unknown"
#endif

namespace orvane::cli {

namespace {

/// Shows the texts in language from now on; a missing translation file is
/// told and the texts stay as written.
void showLanguage(InterfaceLanguage language, std::ostream &err)
{
    if (language == CurrentLanguage())
        return;
    if (!UseLanguage(language))
        err << "orvane-check: warning: no translation file in " << TranslationsFolder() << '\n';
}

/// Puts back the language a run began with: the tests run the checker many
/// times in one process.
class LanguageScope
{
public:
    LanguageScope()
        : m_entry(CurrentLanguage())
    {
    }
    ~LanguageScope()
    {
        if (CurrentLanguage() != m_entry)
            UseLanguage(m_entry);
    }
    LanguageScope(const LanguageScope &) = delete;
    LanguageScope &operator=(const LanguageScope &) = delete;

private:
    InterfaceLanguage m_entry;
};

/// A failure already explained on standard error.
struct RunFailure
{
};

class Checker
{
public:
    Checker(const CheckOptions &options, std::ostream &err, bool progress,
            const LocaleVariables &locale)
        : m_options(options)
        , m_err(err)
        , m_locale(locale)
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
    const LocaleVariables &m_locale;
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
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the settings file cannot be read"),
                {PrintableText(file)}));
    if (!file.empty() && InputFileKindOf(file) == InputFileKind::other)
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the settings file is not a regular file"),
                {PrintableText(file)}));
    LoadSettings(m_settings, m_options.settingsFile.empty() ? SettingsFilePath(programPath)
                                                            : m_options.settingsFile);
    for (const auto &[key, value] : m_options.overrides)
        ApplySettingOverride(m_settings, key, value);
    if (m_options.language.empty())
        showLanguage(ChooseLanguage(m_settings.Language, m_locale), m_err);
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
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the project file is not a regular file"),
                {PrintableText(path)}));
    if (!FileExists(path))
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 が見つかりません"), {PrintableText(path)}));
    if (!readable(path))
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the project file cannot be read"),
                {PrintableText(path)}));
    ReadProjectFile(path, m_project);
    if (m_project.HomeDir().empty())
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the project file names no home folder (HomeDir)"),
                {PrintableText(path)}));
    return IncludeTrailingDelimiter(ExpandFileName(m_project.HomeDir()));
}

void Checker::checkReadable(const std::string &home)
{
    if (!DirectoryExists(home))
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "ディレクトリが存在しません %1"),
                {PrintableText(home)}));
    DIR *dir = ::opendir(home.c_str());
    if (!dir)
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the folder cannot be read"),
                {PrintableText(home)}));
    ::closedir(dir);
    if (!m_options.serverRoot.empty() && !DirectoryExists(m_options.serverRoot))
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "%1: the server root is not a folder"),
                {PrintableText(m_options.serverRoot)}));
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
            m_err << "orvane-check: "
                  << Tr(QT_TRANSLATE_NOOP("Orvane", "warning: top page not in the site: %1"),
                        {PrintableText(top)})
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
        fail(Tr(QT_TRANSLATE_NOOP("Orvane", "the check of %1 did not finish"),
                {PrintableText(home)}));
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
    LanguageScope languageScope;
    showLanguage(LocaleLanguage(environment.locale), err);
    CheckOptions options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError &e) {
        err << "orvane-check: " << e.what() << '\n'
            << Tr(QT_TRANSLATE_NOOP("Orvane", "Try 'orvane-check --help' for more information."))
            << '\n';
        return ExitFailure;
    }
    InterfaceLanguage chosen;
    if (LanguageNamed(options.language, chosen))
        showLanguage(chosen, err);
    if (options.help) {
        out << Tr(HelpText());
        return ExitClean;
    }
    if (options.version) {
        out << "orvane-check " ORVANE_VERSION "\n";
        return ExitClean;
    }
    auto checker =
        std::make_unique<Checker>(options, err, environment.progressTerminal, environment.locale);
    const int code = checker->execute(out, environment.programPath);
    // Taking a site of many files apart object by object only costs time
    // when the process ends next: the system takes the memory back at once.
    if (environment.endsProcess)
        (void)checker.release();
    return code;
}

} // namespace orvane::cli
