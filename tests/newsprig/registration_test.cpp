#include "newsprig/registration.h"

#include "newsprig/registrykey.h"
#include "storetesting.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::readFile;
using test::snapshot;

const std::string AuthorKey = std::string(NewsprigKey) + "/" + std::string(NewsprigAuthorId);
const std::string ProgramKey = AuthorKey + "/orvane";

RegistryValue text(std::string_view value)
{
    return std::string(value);
}

class Registration : public ::testing::Test
{
protected:
    test::TempDir dir;
    test::ScopedEnv xdg{"XDG_CONFIG_HOME", dir.path().c_str()};
    const std::string root = dir.path() + "registry/HKEY_CURRENT_USER";

    std::string mkdir(const std::string &subKey) const
    {
        return dir.mkdir("registry/HKEY_CURRENT_USER/" + subKey);
    }
    std::string write(const std::string &subKey, std::string_view values) const
    {
        return dir.write("registry/HKEY_CURRENT_USER/" + subKey + "/values.reg", values);
    }
    std::optional<RegistryValue> query(const std::string &subKey, std::string_view name) const
    {
        return RegistryKey::open(root, subKey).query(name);
    }
    bool exists(const std::string &subKey) const
    {
        return std::filesystem::exists(root + "/" + subKey);
    }
};

TEST_F(Registration, WithoutTheCheckerKeyNothingIsWritten)
{
    EXPECT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    EXPECT_TRUE(snapshot(dir.path()).empty());

    mkdir("Software");
    EXPECT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    EXPECT_FALSE(exists("Software/Newsprig"));
    EXPECT_EQ(snapshot(root).size(), 1u);
}

TEST_F(Registration, FirstRunCreatesAuthorAndProgramKeys)
{
    mkdir("Software/Newsprig");
    ASSERT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane"));

    EXPECT_EQ(readFile(root + "/" + AuthorKey + "/values.reg"),
              "\"Author\"=\"The Orvane developers\"\n"
              "\"DisplayHost\"=\"orvane.example.org\"\n"
              "\"InfoURL\"=\"https://orvane.example.org/orvane.inf\"\n");
    EXPECT_EQ(readFile(root + "/" + ProgramKey + "/values.reg"), "\"DistinctName\"=\"Orvane\"\n"
                                                                 "\"Build\"=dword:00000ac3\n");
    EXPECT_EQ(query(AuthorKey, "Author"), text(NewsprigAuthor));
    EXPECT_EQ(query(ProgramKey, "Build"), RegistryValue(std::uint32_t{2755}));
    // Two keys with one values file each, nothing else.
    EXPECT_EQ(snapshot(root + "/Software/Newsprig").size(), 4u);
}

TEST_F(Registration, SecondRunKeepsAuthorValuesAndRenewsProgramValues)
{
    mkdir("Software/Newsprig");
    ASSERT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    const std::string handEdited = "\"Author\"=\"Changed by hand\"\n"
                                   "\"DisplayHost\"=\"mirror.example.net\"\n";
    write(AuthorKey, handEdited);
    write(ProgramKey, "\"DistinctName\"=\"Old\"\n"
                      "\"Note\"=\"added by hand\"\n"
                      "\"Build\"=dword:00000001\n");

    ASSERT_TRUE(RegisterWithNewsprig("orvane", 2756, "Orvane 2"));

    // Missing author values stay missing: the author key is never touched once it exists.
    EXPECT_EQ(readFile(root + "/" + AuthorKey + "/values.reg"), handEdited);
    EXPECT_EQ(readFile(root + "/" + ProgramKey + "/values.reg"), "\"DistinctName\"=\"Orvane 2\"\n"
                                                                 "\"Note\"=\"added by hand\"\n"
                                                                 "\"Build\"=dword:00000ac4\n");
}

TEST_F(Registration, OtherProgramsShareTheAuthorKey)
{
    mkdir("Software/Newsprig");
    ASSERT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    ASSERT_TRUE(RegisterWithNewsprig("other", 100, "Other"));
    EXPECT_EQ(query(AuthorKey + "/other", "DistinctName"), text("Other"));
    EXPECT_EQ(query(ProgramKey, "DistinctName"), text("Orvane"));
}

TEST_F(Registration, CheckerKeyThatIsNotAFolderCountsAsMissing)
{
    // Executable, so that only its type keeps it from counting as a key.
    const std::string file = dir.write("registry/HKEY_CURRENT_USER/Software/Newsprig", "not a key");
    ASSERT_EQ(::chmod(file.c_str(), 0700), 0);
    const auto before = snapshot(dir.path());
    EXPECT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST_F(Registration, CheckerKeyWithoutFullAccessCountsAsMissing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not deny root";
    const std::string newsprig = mkdir("Software/Newsprig");
    const auto before = snapshot(dir.path());
    for (const mode_t mode : {0500, 0300, 0600}) {
        ASSERT_EQ(::chmod(newsprig.c_str(), mode), 0);
        EXPECT_TRUE(RegisterWithNewsprig("orvane", 2755, "Orvane")) << std::oct << mode;
        ASSERT_EQ(::chmod(newsprig.c_str(), 0700), 0);
        EXPECT_EQ(snapshot(dir.path()), before) << std::oct << mode;
    }
}

TEST_F(Registration, AuthorKeyThatCannotBeOpenedFailsBeforeAnyWrite)
{
    // Counted as missing, the author key is created anew, which fails here.
    mkdir("Software/Newsprig");
    dir.write("registry/HKEY_CURRENT_USER/" + AuthorKey, "not a key");
    const auto before = snapshot(dir.path());
    EXPECT_FALSE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    EXPECT_EQ(snapshot(dir.path()), before);

    if (::geteuid() == 0)
        return;
    std::filesystem::remove(root + "/" + AuthorKey);
    const std::string author = mkdir(AuthorKey);
    ASSERT_EQ(::chmod(author.c_str(), 0500), 0);
    EXPECT_FALSE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    EXPECT_FALSE(exists(ProgramKey));
}

TEST_F(Registration, FailingWriteStopsWithEarlierValuesKept)
{
    mkdir("Software/Newsprig");
    const std::string firstValue = FormatValueLine("Author", text(NewsprigAuthor)) + "\n";
    {
        const test::FileSizeLimit limit(firstValue.size());
        EXPECT_FALSE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    }
    EXPECT_EQ(readFile(root + "/" + AuthorKey + "/values.reg"), firstValue);
    EXPECT_FALSE(exists(ProgramKey));
}

TEST_F(Registration, FailingBuildWriteKeepsDistinctName)
{
    mkdir(AuthorKey);
    const std::string firstValue = FormatValueLine("DistinctName", text("Orvane")) + "\n";
    {
        const test::FileSizeLimit limit(firstValue.size());
        EXPECT_FALSE(RegisterWithNewsprig("orvane", 2755, "Orvane"));
    }
    EXPECT_EQ(readFile(root + "/" + ProgramKey + "/values.reg"), firstValue);
}

TEST_F(Registration, DistinctNameThatCannotBeStoredStopsBeforeBuild)
{
    mkdir(AuthorKey);
    write(ProgramKey, "\"DistinctName\"=\"Orvane\"\n");
    EXPECT_FALSE(RegisterWithNewsprig("orvane", 2755, "two\nlines"));
    EXPECT_EQ(readFile(root + "/" + ProgramKey + "/values.reg"), "\"DistinctName\"=\"Orvane\"\n");
}

TEST_F(Registration, ProgramKeyThatCannotBeCreatedFailsAfterTheAuthorValues)
{
    mkdir("Software/Newsprig");
    for (const char *keyName : {"..", "values.reg", "a/../../escape"}) {
        EXPECT_FALSE(RegisterWithNewsprig(keyName, 2755, "Orvane")) << keyName;
        EXPECT_EQ(query(AuthorKey, "InfoURL"), text(NewsprigInfoURL)) << keyName;
    }
    EXPECT_EQ(snapshot(root + "/Software/Newsprig").size(), 2u);
    EXPECT_FALSE(exists("Software/escape"));
}

} // namespace
} // namespace orvane
