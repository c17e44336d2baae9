#include "newsprig/registrykey.h"

#include "storetesting.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

using test::readFile;
using test::ScopedEnv;
using test::snapshot;
using test::TempDir;

TEST(RegistryKey, CurrentUserRootFollowsXdgConfigHome)
{
    struct Case
    {
        const char *xdg;
        const char *expected;
    };
    const Case cases[] = {
        {"/xdg/config", "/xdg/config/registry/HKEY_CURRENT_USER"},
        {nullptr, "/home/someone/.config/registry/HKEY_CURRENT_USER"},
        {"", "/home/someone/.config/registry/HKEY_CURRENT_USER"},
        {"relative/config", "/home/someone/.config/registry/HKEY_CURRENT_USER"},
    };
    const ScopedEnv home("HOME", "/home/someone");
    for (const Case &c : cases) {
        const ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(CurrentUserRegistryRoot(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
}

TEST(RegistryKey, OpensOnlyExistingFoldersWithValidPaths)
{
    const TempDir dir;
    const std::string root = dir.path() + "root";
    dir.mkdir("root/Software/Newsprig");
    dir.mkdir("outside");
    dir.write("root/Software/File", "");

    EXPECT_EQ(RegistryKey::open(root, "Software/Newsprig").folder(), root + "/Software/Newsprig/");
    EXPECT_TRUE(RegistryKey::open(dir.path() + "root/", "Software").isOpen());
    for (const char *subKey :
         {"Software/Missing", "Software/File", "Software/Newsprig/", "", "/Software",
          "Software//Newsprig", "../outside", "Software/..", "Software/./Newsprig"})
        EXPECT_FALSE(RegistryKey::open(root, subKey).isOpen()) << subKey;
    EXPECT_FALSE(RegistryKey::open("", "Software").isOpen());
}

TEST(RegistryKey, CreateMakesMissingFoldersButNeverLeavesTheRoot)
{
    const TempDir dir;
    const std::string root = dir.path() + "root";

    const RegistryKey key = RegistryKey::create(root, "Software/Newsprig/a@b.example/orvane");
    EXPECT_EQ(key.folder(), root + "/Software/Newsprig/a@b.example/orvane/");
    EXPECT_TRUE(RegistryKey::open(root, "Software/Newsprig/a@b.example").isOpen());

    const auto before = snapshot(dir.path());
    for (const char *subKey : {"../escaped", "Software/../../escaped", "Software/values.reg", ""})
        EXPECT_FALSE(RegistryKey::create(root, subKey).isOpen()) << subKey;
    dir.write("root/Blocked", "a file, not a key");
    EXPECT_FALSE(RegistryKey::create(root, "Blocked/Sub").isOpen());
    EXPECT_FALSE(RegistryKey::create(root, "Blocked").isOpen());
    EXPECT_EQ(snapshot(dir.path()).size(), before.size() + 1);
}

TEST(RegistryKey, WritesKeepOtherValuesOfTheKey)
{
    const TempDir dir;
    RegistryKey key = RegistryKey::create(dir.path() + "root", "Software/Key");
    ASSERT_TRUE(key.isOpen());

    EXPECT_TRUE(key.setString("Name", "first"));
    EXPECT_TRUE(key.setDword("Build", 2755));
    EXPECT_TRUE(key.setString("Path", R"(C:\a "b")"));
    EXPECT_TRUE(key.setString("name", "second"));

    EXPECT_EQ(readFile(key.folder() + "values.reg"), "\"name\"=\"second\"\n"
                                                     "\"Build\"=dword:00000ac3\n"
                                                     "\"Path\"=\"C:\\\\a \\\"b\\\"\"\n");
    EXPECT_EQ(key.query("NAME"), RegistryValue(std::string("second")));
    EXPECT_EQ(key.query("Build"), RegistryValue(std::uint32_t{2755}));
    EXPECT_EQ(key.query("Path"), RegistryValue(std::string(R"(C:\a "b")")));
    EXPECT_FALSE(key.query("Missing").has_value());
    // Only the values file: the temporary file of each write is gone.
    EXPECT_EQ(snapshot(key.folder()).size(), 1u);
}

TEST(RegistryKey, FailedWritesLeaveTheValuesFileAsItWas)
{
    const TempDir dir;
    RegistryKey key = RegistryKey::create(dir.path() + "root", "Key");
    ASSERT_TRUE(key.setString("Kept", "value"));
    const std::string before = readFile(key.folder() + "values.reg");

    EXPECT_FALSE(key.setString("Bad", "two\nlines"));
    EXPECT_FALSE(key.setString("Bad\r", "name"));
    EXPECT_FALSE(key.setDword(std::string_view("Nul\0", 4), 1));
    {
        const test::FileSizeLimit limit(before.size());
        EXPECT_FALSE(key.setString("TooBig", "past the file-size limit"));
    }
    EXPECT_EQ(readFile(key.folder() + "values.reg"), before);
    EXPECT_EQ(snapshot(key.folder()).size(), 1u);

    key.close();
    EXPECT_FALSE(key.setString("Closed", "key"));
    EXPECT_FALSE(key.query("Kept").has_value());
}

TEST(RegistryKey, UnreadableValuesFileStopsWrites)
{
    // Writing on without the old values would silently drop them. A FIFO
    // (which would wait for a writer) or a device that never ends is not
    // read at all.
    const TempDir dir;
    const std::string root = dir.path() + "root";
    dir.mkdir("root/Folder/values.reg");
    const std::string loop = dir.mkdir("root/Loop") + "values.reg";
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    const std::string fifo = dir.mkdir("root/Fifo") + "values.reg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir.mkdir("root/Zero") + "values.reg").c_str()), 0);
    for (const char *subKey : {"Folder", "Loop", "Fifo", "Zero"}) {
        RegistryKey key = RegistryKey::open(root, subKey);
        ASSERT_TRUE(key.isOpen()) << subKey;
        EXPECT_FALSE(key.setString("Name", "value")) << subKey;
        EXPECT_FALSE(key.query("Name").has_value()) << subKey;
    }
    struct stat info
    {
    };
    EXPECT_TRUE(::lstat(loop.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    EXPECT_TRUE(::lstat(fifo.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
}

TEST(RegistryKey, FolderWithoutFullAccessDoesNotOpen)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not deny root";
    const TempDir dir;
    const std::string root = dir.path() + "root";
    for (const mode_t mode : {0500, 0300, 0600, 0700}) {
        const std::string folder = dir.mkdir("root/Key");
        ASSERT_EQ(::chmod(folder.c_str(), mode), 0);
        EXPECT_EQ(RegistryKey::open(root, "Key").isOpen(), mode == 0700) << std::oct << mode;
        EXPECT_EQ(RegistryKey::create(root, "Key").isOpen(), mode == 0700) << std::oct << mode;
        ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    }
}

} // namespace
} // namespace orvane
