#include "cli/options.h"

#include "clirun.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

using Args = std::vector<std::string>;

TEST(Options, EveryOptionInShortLongAndGluedForm)
{
    const CheckOptions o = ParseOptions({"-t",
                                         "a.html",
                                         "--top",
                                         "b.html",
                                         "-tc.html",
                                         "--top=d.html",
                                         "-x",
                                         "x1.html",
                                         "--exclude=x2.html",
                                         "-w",
                                         "*.bak",
                                         "--wildcard",
                                         "tmp/",
                                         "-r",
                                         "www",
                                         "-s",
                                         "my.ini",
                                         "-o",
                                         "IgnoreCase=1",
                                         "--option=DefaultFileName=home.htm",
                                         "--json",
                                         "-q",
                                         "site"});
    EXPECT_EQ(o.path, "site");
    EXPECT_EQ(o.topFiles, (Args{"a.html", "b.html", "c.html", "d.html"}));
    EXPECT_EQ(o.excludeFiles, (Args{"x1.html", "x2.html"}));
    EXPECT_EQ(o.wildCards, (Args{"*.bak", "tmp/"}));
    EXPECT_EQ(o.serverRoot, "www");
    EXPECT_EQ(o.settingsFile, "my.ini");
    ASSERT_EQ(o.overrides.size(), 2u);
    EXPECT_EQ(o.overrides[0], (std::pair<std::string, std::string>{"IgnoreCase", "1"}));
    EXPECT_EQ(o.overrides[1], (std::pair<std::string, std::string>{"DefaultFileName", "home.htm"}));
    EXPECT_EQ(o.format, ReportFormat::Json);
    EXPECT_TRUE(o.quiet);
    EXPECT_FALSE(o.help);
    EXPECT_FALSE(o.version);
}

TEST(Options, DefaultsAndPathPosition)
{
    const CheckOptions o = ParseOptions({"site", "--quiet"});
    EXPECT_EQ(o.path, "site");
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.format, ReportFormat::Text);
    EXPECT_TRUE(o.topFiles.empty());
    EXPECT_TRUE(o.serverRoot.empty());
    EXPECT_TRUE(o.settingsFile.empty());

    // After "--" a name that starts with "-" is the PATH; so is a lone "-".
    EXPECT_EQ(ParseOptions({"--", "-site"}).path, "-site");
    EXPECT_EQ(ParseOptions({"-"}).path, "-");
}

TEST(Options, FormatNamesTheReportAndJsonIsOneOfThem)
{
    const std::vector<std::pair<Args, ReportFormat>> cases = {
        {{"site", "--format", "github"}, ReportFormat::Github},
        {{"site", "--format=json"}, ReportFormat::Json},
        {{"site", "-ftext"}, ReportFormat::Text},
        {{"site", "--json"}, ReportFormat::Json},
        {{"--json", "-f", "github", "site"}, ReportFormat::Github},
        {{"--format=github", "--json", "site"}, ReportFormat::Json},
    };
    for (const auto &[args, format] : cases)
        EXPECT_EQ(ParseOptions(args).format, format) << args.back();
}

TEST(Options, HelpAndVersionNeedNoPath)
{
    EXPECT_TRUE(ParseOptions({"-h"}).help);
    EXPECT_TRUE(ParseOptions({"--help"}).help);
    EXPECT_TRUE(ParseOptions({"--version"}).version);
}

TEST(Options, UsageErrors)
{
    const std::vector<std::pair<const char *, Args>> cases = {
        {"no arguments", {}},
        {"no path", {"-q"}},
        {"two paths", {"a", "b"}},
        {"empty path", {""}},
        {"unknown long option", {"--frobnicate", "site"}},
        {"unknown short option", {"-z", "site"}},
        {"flag with glued text", {"-qx", "site"}},
        {"flag with a value", {"--json=yes", "site"}},
        {"missing value", {"site", "--top"}},
        {"missing short value", {"site", "-x"}},
        {"empty value", {"--top=", "site"}},
        {"server root twice", {"-r", "a", "-r", "b", "site"}},
        {"settings twice", {"-s", "a", "-s", "b", "site"}},
        {"option without =", {"-o", "IgnoreCase", "site"}},
        {"option without key", {"-o", "=1", "site"}},
        {"unknown option key", {"-o", "NoSuchKey=1", "site"}},
        {"flag value not a number", {"-o", "IgnoreCase=yes", "site"}},
        {"choice value not a number", {"-o", "CheckLocalFile=x", "site"}},
        {"unknown format", {"--format", "xml", "site"}},
        {"format in capitals", {"--format=JSON", "site"}},
    };
    for (const auto &[name, args] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(ParseOptions(args), UsageError);
        const test::CliResult result = test::runCheckerRaw(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.out.empty());
        EXPECT_NE(result.err.find("orvane-check: "), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("--help"), std::string::npos) << result.err;
    }
}

TEST(Options, HelpAndVersionOutput)
{
    const test::CliResult help = test::runCheckerRaw({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: orvane-check [OPTIONS] PATH\n", 0), 0u);
    for (const char *option :
         {"--top", "--exclude", "--wildcard", "--server-root", "--settings", "--option", "--format",
          "github", "--json", "--quiet", "--version", "PAGE:LINE: LINK"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    const test::CliResult version = test::runCheckerRaw({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvane-check 2.755\n");
    EXPECT_TRUE(version.err.empty());
}

} // namespace
} // namespace orvane::cli
