// Values that would break out of their line. Found by fuzzing the INI reader
// and writer: a value holding a line break came back as a cut value plus
// lines of its own, which could even add keys and sections.
#include "base/errors.h"
#include "base/profilefile.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(FaultProfileFile, AValueWithALineBreakIsRefusedAndChangesNothing)
{
    test::TempDir dir;
    const std::string path =
        dir.write("o.ini", "[WindowState]\r\nLeft=5\r\n[Option]\r\nIgnoreCase=0\r\n");
    const std::string values[] = {
        // The fuzzer's input, shortened: a section header smuggled in.
        " s\xff\xff{\xff\n=empty key\n[OrvaneProjpaced ",
        "x\r\n[Option]\r\nIgnoreCase=1",
        "ends in a CR\r",
        "\n",
        "lone\rCR",
    };
    for (const std::string &value : values) {
        ProfileFile file(path);
        const std::string before = file.Text();
        EXPECT_THROW(file.WriteString("windowstate", "CHECKLOCALFILE", value), EWriteError);
        EXPECT_EQ(file.Text(), before);
        EXPECT_FALSE(file.KeyExists("WindowState", "CheckLocalFile"));
        EXPECT_EQ(file.ReadInteger("Option", "IgnoreCase", 7), 0);
        EXPECT_FALSE(ProfileFile::FitsOnOneLine(value));
    }
    ProfileFile file(path);
    file.WriteString("WindowState", "Note", "tab\tand \"quotes\" and = signs");
    EXPECT_EQ(file.ReadString("WindowState", "Note", {}), "tab\tand \"quotes\" and = signs");
    EXPECT_TRUE(ProfileFile::FitsOnOneLine("tab\tand \"quotes\""));
}

} // namespace
} // namespace orvane
