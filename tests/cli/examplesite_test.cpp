#include "clirun.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

const std::string ExampleSite = ORVANE_SOURCE_DIR "/examples/site";

TEST(ExampleSite, TextReportShowsItsFindings)
{
    const CliResult result = runChecker({ExampleSite});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "無効リンクを含むファイルの数 3\n"
                          "無効リンクの総数 3\n"
                          "orphaned files:\n"
                          "drafts/notes.html\n"
                          "images/unused.gif\n"
                          "old.html\n"
                          "invalid links:\n"
                          "gallery/index.html:11: harbour.html (missing file)\n"
                          "about.html:12: index.html#team (missing anchor)\n"
                          "index.html:16: contact.html (missing file)\n");
}

TEST(ExampleSite, JsonReportShowsAnchorsFoldersAndLinks)
{
    const CliResult result = runChecker({"--json", ExampleSite});
    EXPECT_EQ(result.status, 1);
    const std::string &out = result.out;
    for (const char *part : {
             "\"fileCount\": 11,",
             "\"orphans\": [\n    \"drafts/notes.html\",\n    \"images/unused.gif\",\n"
             "    \"old.html\"\n  ],",
             "\"attentionFolders\": [\n    \"drafts/\",\n    \"gallery/\",\n    \"images/\"\n  ],",
             // The anchor nothing refers to makes news.html need attention.
             "{\"path\": \"news.html\", \"kind\": \"html\", \"state\": \"reached\", "
             "\"ignored\": false, \"blue\": true, \"valid\": [\"index.html\", \"style.css\"], "
             "\"invalid\": [], \"external\": [], \"anchors\": [{\"name\": \"archive\", "
             "\"referenced\": false}, {\"name\": \"latest\", \"referenced\": true}]}",
             // A META refresh is a link.
             "{\"path\": \"moved.html\", \"kind\": \"html\", \"state\": \"reached\", "
             "\"ignored\": false, \"blue\": false, \"valid\": [\"about.html\"]",
             "\"external\": [\"https://example.org/\"]",
             "{\"path\": \"style.css\", \"kind\": \"other\", \"state\": \"reached\"",
         })
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;
}

} // namespace
} // namespace orvane::test
