#include "cli/options.h"

#include "base/usertext.h"
#include "cli/settingoverride.h"
#include "settings/language.h"
#include "settings/settings.h"

#include <string_view>

namespace orvane::cli {

namespace {

enum class Opt {
    Top,
    Exclude,
    WildCard,
    ServerRoot,
    Settings,
    Option,
    Format,
    Json,
    Referrers,
    ReferrersAll,
    Quiet,
    Lang,
    Help,
    Version
};

struct OptionSpec
{
    char shortName; // 0: long form only
    const char *longName;
    Opt opt;
    bool takesValue;
};

constexpr OptionSpec Specs[] = {
    {'t', "top", Opt::Top, true},           {'x', "exclude", Opt::Exclude, true},
    {'w', "wildcard", Opt::WildCard, true}, {'r', "server-root", Opt::ServerRoot, true},
    {'s', "settings", Opt::Settings, true}, {'o', "option", Opt::Option, true},
    {'f', "format", Opt::Format, true},     {0, "json", Opt::Json, false},
    {'q', "quiet", Opt::Quiet, false},      {0, "lang", Opt::Lang, true},
    {'h', "help", Opt::Help, false},        {0, "version", Opt::Version, false},
    {0, "referrers", Opt::Referrers, true}, {0, "referrers-all", Opt::ReferrersAll, false},
};

const OptionSpec *findLong(std::string_view name)
{
    for (const OptionSpec &spec : Specs) {
        if (name == spec.longName)
            return &spec;
    }
    return nullptr;
}

const OptionSpec *findShort(char c)
{
    for (const OptionSpec &spec : Specs) {
        if (spec.shortName != 0 && spec.shortName == c)
            return &spec;
    }
    return nullptr;
}

void addOverride(CheckOptions &options, const std::string &text)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError(
            Tr(QT_TRANSLATE_NOOP("Orvane", "option needs KEY=VALUE, not \"%1\""), {text}));
    std::string key = text.substr(0, eq);
    std::string value = text.substr(eq + 1);
    // Refused keys and values are usage errors before anything is read.
    Settings probe;
    const std::string why = ApplySettingOverride(probe, key, value);
    if (!why.empty())
        throw UsageError(why);
    options.overrides.emplace_back(std::move(key), std::move(value));
}

ReportFormat formatNamed(const std::string &name)
{
    if (name == "text")
        return ReportFormat::Text;
    if (name == "json")
        return ReportFormat::Json;
    if (name == "github")
        return ReportFormat::Github;
    throw UsageError(
        Tr(QT_TRANSLATE_NOOP("Orvane", "--format takes text, json or github, not \"%1\""), {name}));
}

std::string languageNamed(const std::string &name)
{
    InterfaceLanguage language;
    if (!LanguageNamed(name, language))
        throw UsageError(
            Tr(QT_TRANSLATE_NOOP("Orvane", "--lang takes en or ja, not \"%1\""), {name}));
    return language == InterfaceLanguage::English ? "en" : "ja";
}

void setOnce(std::string &field, const std::string &value, const char *name)
{
    if (!field.empty())
        throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "--%1 given twice"), {name}));
    field = value;
}

void apply(CheckOptions &options, const OptionSpec &spec, const std::string &value)
{
    if (spec.takesValue && value.empty())
        throw UsageError(
            Tr(QT_TRANSLATE_NOOP("Orvane", "--%1 needs a non-empty value"), {spec.longName}));
    switch (spec.opt) {
    case Opt::Top:
        options.topFiles.push_back(value);
        break;
    case Opt::Exclude:
        options.excludeFiles.push_back(value);
        break;
    case Opt::WildCard:
        options.wildCards.push_back(value);
        break;
    case Opt::ServerRoot:
        setOnce(options.serverRoot, value, spec.longName);
        break;
    case Opt::Settings:
        setOnce(options.settingsFile, value, spec.longName);
        break;
    case Opt::Option:
        addOverride(options, value);
        break;
    case Opt::Format:
        options.format = formatNamed(value);
        break;
    case Opt::Json:
        options.format = ReportFormat::Json;
        break;
    case Opt::Referrers:
        setOnce(options.referrersOf, value, spec.longName);
        break;
    case Opt::ReferrersAll:
        options.referrersAll = true;
        break;
    case Opt::Quiet:
        options.quiet = true;
        break;
    case Opt::Lang:
        options.language = languageNamed(value);
        break;
    case Opt::Help:
        options.help = true;
        break;
    case Opt::Version:
        options.version = true;
        break;
    }
}

class ArgumentReader
{
public:
    explicit ArgumentReader(const std::vector<std::string> &args)
        : m_args(args)
    {
    }
    bool atEnd() const { return m_next >= m_args.size(); }
    const std::string &take() { return m_args[m_next++]; }
    const std::string &takeValue(const OptionSpec &spec)
    {
        if (atEnd())
            throw UsageError(
                Tr(QT_TRANSLATE_NOOP("Orvane", "--%1 needs a value"), {spec.longName}));
        return take();
    }

private:
    const std::vector<std::string> &m_args;
    size_t m_next = 0;
};

void readLong(CheckOptions &options, ArgumentReader &reader, const std::string &arg)
{
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const OptionSpec *spec = findLong(name);
    if (!spec)
        throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "unknown option \"%1\""), {arg}));
    if (!spec->takesValue) {
        if (eq != std::string::npos)
            throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "--%1 takes no value"), {name}));
        apply(options, *spec, {});
    } else {
        apply(options, *spec,
              eq != std::string::npos ? arg.substr(eq + 1) : reader.takeValue(*spec));
    }
}

void readShort(CheckOptions &options, ArgumentReader &reader, const std::string &arg)
{
    const OptionSpec *spec = findShort(arg[1]);
    if (!spec)
        throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "unknown option \"%1\""), {arg}));
    if (!spec->takesValue) {
        if (arg.size() > 2)
            throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "unknown option \"%1\""), {arg}));
        apply(options, *spec, {});
    } else {
        apply(options, *spec, arg.size() > 2 ? arg.substr(2) : reader.takeValue(*spec));
    }
}

void addPath(CheckOptions &options, const std::string &arg)
{
    if (arg.empty())
        throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "PATH is empty")));
    if (!options.path.empty())
        throw UsageError(
            Tr(QT_TRANSLATE_NOOP("Orvane", "only one PATH may be given (\"%1\" and \"%2\")"),
               {options.path, arg}));
    options.path = arg;
}

} // namespace

CheckOptions ParseOptions(const std::vector<std::string> &args)
{
    CheckOptions options;
    ArgumentReader reader(args);
    bool optionsEnded = false;
    while (!reader.atEnd()) {
        const std::string &arg = reader.take();
        if (optionsEnded || arg.size() < 2 || arg[0] != '-')
            addPath(options, arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg[1] == '-')
            readLong(options, reader, arg);
        else
            readShort(options, reader, arg);
    }
    if (options.path.empty() && !options.help && !options.version)
        throw UsageError(Tr(QT_TRANSLATE_NOOP("Orvane", "no PATH given")));
    return options;
}

const char *HelpText()
{
    return QT_TRANSLATE_NOOP("Orvane", R"(Usage: orvane-check [OPTIONS] PATH
Checks a local web site for orphaned files and invalid links.

  PATH                    a site folder, or a project file (*.ovp) opened as
                          the program opens it
  -t, --top FILE          add a top page (relative to the home folder, or
                          absolute); repeatable
  -x, --exclude FILE      exclude a file from the check (relative to the home
                          folder, or absolute); repeatable
  -w, --wildcard PATTERN  add an ignore pattern for file names ("*" and "?");
                          one that ends in "/" is a folder (relative to the
                          home folder, or absolute); repeatable
  -r, --server-root DIR   the folder that stands for the server root "/"
                          (relative to the current folder)
  -s, --settings FILE     read the sixteen options from this INI file instead
                          of the program's settings file
  -o, --option KEY=VALUE  override one option by its INI key, as a line of
                          the settings file would set it (e.g. IgnoreCase=1);
                          repeatable
  -f, --format FORMAT     the report's form: text (the default), json, or
                          github (workflow annotations for a CI log)
      --json              the same as --format json
      --referrers FILE    print only the pages that link to FILE (relative
                          to the home folder, or absolute), with the line of
                          the first such link and the page's state
      --referrers-all     the JSON report lists the pages that link to each
                          file
  -q, --quiet             no progress display, and no warnings: standard
                          error carries errors only
      --lang LANG         the language of the report and the messages: en
                          or ja (default: the Language setting, or else the
                          locale: Japanese for ja and for C/POSIX)
  -h, --help              print this help and exit
      --version           print the version and exit

With a folder and no --top, the file named by DefaultFileName in the folder
is the top page when it exists. With a project file, the top pages, exclusions
and patterns given here are added to the project's own, and --server-root
replaces its server root. Nothing is ever written back.

Option keys: ExternalEditor, ExternalViewer, IgnoreCase, DefaultFileName,
isSpaceValid, CommandLineOption, TagJumpCommandLineOption, AnchorMakesFileBlue,
CheckLocalFile, IgnoreHTMLInfo, IgnoreJavaScript, HideInfoBoxAfterCheck
(no effect here), ExtListHTML, ExtListImg, ModernLinks (1, the default: links
as today's browsers follow them, with element ids and "#top" as fragment
targets, percent escapes and "&amp;" decoded and quoted refresh targets
unquoted; 0: the classic rules alone), Language (0, the default: as the
locale says; 1 Japanese; 2 English).

Text report (paths relative to the home folder):
  無効リンクを含むファイルの数 N
  無効リンクの総数 M
  orphaned files:
  FILE                    one line per orphaned file
  invalid links:
  PAGE:LINE: LINK (WHY)   one line per distinct invalid link of a page, in
                          the order the page first names them; LINE is where
                          it first stands, WHY is "missing file", "missing
                          anchor" (the file is there, the fragment is not) or
                          "file URL" (while CheckLocalFile is 0); then (+N)
                          when the page names it N more times
Control characters in names and links are shown as \t, \n, \r or \xNN.

GitHub report (paths relative to the current folder): the two summary
lines, then
  ::error file=PAGE,line=N::無効リンク: LINK
                          one per invalid link of a page, at the line where
                          it first stands (no line= when it is not found)
  ::warning file=FILE::孤立ファイル: ...
                          one per orphaned file
with "%", CR and LF in texts (and ":" and "," in paths) written as %25, %0D,
%0A, %3A and %2C.

JSON report: homeDir, fileCount, filesWithInvalidLinks, invalidLinkTotal,
orphans, attentionFolders and files (path, kind, state, ignored, blue, valid,
invalid, external, anchors with name and referenced).

Exit status: 0 when no page has invalid links and no file is orphaned,
1 when there are findings, 2 for bad usage or a folder or project file that
cannot be read.
)");
}

} // namespace orvane::cli
