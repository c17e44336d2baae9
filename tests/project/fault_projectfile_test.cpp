// Project files that were damaged, cut short, edited by hand or never were
// project files: loading never fails, takes what can be read and keeps the
// model and its displayed lists in step.
#include "base/errors.h"
#include "project/memoryprojectview.h"
#include "project/project.h"
#include "project/projectfile.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane {
namespace {

using Items = std::vector<std::string>;

struct Loaded
{
    MemoryProjectView view;
    Project project{view};

    explicit Loaded(const std::string &text)
    {
        test::TempDir dir;
        project.SetHomeDir("/before/");
        ReadProjectFile(dir.write("p.ovp", text), project);
    }

    bool inStep() const
    {
        return view.topFiles.items() == project.TopFiles() &&
               view.ignoreFiles.items() == project.IgnoreFiles() &&
               view.wildCards.items() == project.WildCards();
    }
};

const std::string Full = "[OrvaneProject]\r\n"
                         "HomeDir=/site/\r\n"
                         "ServerRoot=/srv/\r\n"
                         "TopFile0=/SITE/INDEX.HTML\r\n"
                         "TopFile1=/SITE/EN/INDEX.HTML\r\n"
                         "IgnoreFile0=/SITE/TEST.HTML\r\n"
                         "WildCards0=*.bak\r\n"
                         "WildCards1=/SITE/_NOTES/\r\n";

bool isPrefixOf(const std::string &part, const std::string &whole)
{
    return whole.compare(0, part.size(), part) == 0;
}

std::string withoutSlash(const std::string &folder)
{
    return folder.substr(0, folder.size() - 1);
}

bool entriesArePrefixes(const Items &part, const Items &whole)
{
    if (part.size() > whole.size())
        return false;
    for (size_t i = 0; i < part.size(); ++i)
        if (!isPrefixOf(part[i], whole[i]))
            return false;
    return true;
}

TEST(FaultProjectFile, GarbageLoadsAsAnEmptyProject)
{
    std::mt19937 random(8);
    std::vector<std::string> garbage = {"",
                                        "\x7f"
                                        "ELF\x02\x01\x01",
                                        std::string(5000, '\0'),
                                        "[[[[]]]]====\r\r\r\n\n",
                                        "=\n=\n=",
                                        "[]\n=\n"};
    for (int i = 0; i < 50; ++i) {
        std::string bytes(1 + random() % 3000, '\0');
        for (char &c : bytes)
            c = static_cast<char>(random());
        garbage.push_back(bytes);
    }
    for (const std::string &text : garbage) {
        const Loaded loaded(text);
        EXPECT_EQ(loaded.project.HomeDir(), "/before/") << "an empty HomeDir keeps the folder";
        EXPECT_EQ(loaded.project.ServerRoot(), "");
        EXPECT_TRUE(loaded.project.TopFiles().empty());
        EXPECT_TRUE(loaded.project.IgnoreFiles().empty());
        EXPECT_TRUE(loaded.project.WildCards().empty());
        EXPECT_TRUE(loaded.inStep());
    }
}

TEST(FaultProjectFile, AFileCutShortAtAnyByteLoadsWhatItHolds)
{
    const Loaded whole(Full);
    for (size_t size = 0; size <= Full.size(); ++size) {
        const Loaded part(Full.substr(0, size));
        const Project &p = part.project;
        SCOPED_TRACE(size);
        // A folder cut short still gets its closing "/".
        EXPECT_TRUE(p.HomeDir() == "/before/" || isPrefixOf(withoutSlash(p.HomeDir()), "/site/"));
        EXPECT_TRUE(p.ServerRoot().empty() || isPrefixOf(withoutSlash(p.ServerRoot()), "/srv/"));
        EXPECT_TRUE(entriesArePrefixes(p.TopFiles(), whole.project.TopFiles()));
        EXPECT_TRUE(entriesArePrefixes(p.WildCards(), whole.project.WildCards()));
        EXPECT_TRUE(entriesArePrefixes(p.IgnoreFiles(), whole.project.IgnoreFiles()));
        EXPECT_TRUE(part.inStep());
    }
}

TEST(FaultProjectFile, VeryLongValuesArriveCutTo2047Bytes)
{
    const std::string huge(1 << 20, 'x');
    const Loaded loaded("[OrvaneProject]\nHomeDir=/" + huge + "\nTopFile0=/" + huge +
                        "\nTopFile1=/short\n" + huge + "=value\nWildCards0=" + huge);
    EXPECT_EQ(loaded.project.HomeDir(), "/" + std::string(2046, 'x') + "/");
    EXPECT_EQ(loaded.project.TopFiles(), (Items{"/" + std::string(2046, 'X'), "/SHORT"}));
    EXPECT_EQ(loaded.project.WildCards(), Items{std::string(2047, 'x')});
    EXPECT_TRUE(loaded.inStep());
}

TEST(FaultProjectFile, DuplicateKeysAndSectionsTheFirstCounts)
{
    const Loaded loaded("[OrvaneProject]\n"
                        "TopFile0=/FIRST\n"
                        " topfile0 = /SECOND\n"
                        "TopFile1=/A\n"
                        "HOMEDIR=/one/\n"
                        "HomeDir=/two/\n"
                        "[Other]\n"
                        "TopFile2=/OTHER\n"
                        "[ orvaneproject ]\n"
                        "TopFile2=/LATER\n"
                        "ServerRoot=/later/\n"
                        "WildCards0=*.x\n");
    EXPECT_EQ(loaded.project.TopFiles(), (Items{"/FIRST", "/A"}));
    EXPECT_EQ(loaded.project.HomeDir(), "/one/");
    EXPECT_EQ(loaded.project.ServerRoot(), "")
        << "keys of a later section of that name are not read";
    EXPECT_TRUE(loaded.project.WildCards().empty());
    EXPECT_TRUE(loaded.inStep());
}

TEST(FaultProjectFile, ATopPageListedTwiceAndExcludedStaysOnceAsTopPage)
{
    // Excluding drops only the first top entry of the path; the model and the
    // displayed list drop the same one.
    const Loaded loaded("[OrvaneProject]\nTopFile0=/A\nTopFile1=/B\nTopFile2=/a\n"
                        "IgnoreFile0=/a\n");
    EXPECT_EQ(loaded.project.TopFiles(), (Items{"/B", "/A"}));
    EXPECT_EQ(loaded.project.IgnoreFiles(), Items{"/A"});
    EXPECT_TRUE(loaded.inStep());
}

TEST(FaultProjectFile, AnEntryWithALineBreakStopsTheSaveAndKeepsTheOldFile)
{
    test::TempDir dir;
    const std::string old = "[OrvaneProject]\r\nHomeDir=/old/\r\n";
    const std::string path = dir.write("p.ovp", old);
    const auto breaks = [](Project &p) { p.SetHomeDir("/home\nHomeDir=/evil"); };
    const auto breaksList = [](Project &p) { p.AddWildCard("*.x\r\n[Other]"); };
    const auto breaksRoot = [](Project &p) { p.SetServerRoot("/srv\r"); };
    for (const auto &make : {+breaks, +breaksList, +breaksRoot}) {
        MemoryProjectView view;
        Project project(view);
        project.AddTopFile("/SITE/INDEX.HTML");
        make(project);
        try {
            WriteProjectFile(path, project);
            ADD_FAILURE() << "saved";
        } catch (const EWriteError &e) {
            EXPECT_EQ(std::string(e.what()).rfind(path + " に書き込めません\r\n改行を含む項目は保存"
                                                         "できません: ",
                                                  0),
                      0u)
                << e.what();
        }
        EXPECT_EQ(test::readFile(path), old);
    }
}

} // namespace
} // namespace orvane
