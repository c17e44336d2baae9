#include "engine/fileurl.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(FileUrlToPath, CountsTheSlashesAfterTheScheme)
{
    struct Case
    {
        const char *url;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"file:///site/a.html", "/site/a.html"},
        {"FILE:///site/a.html", "/site/a.html"},
        {"file:///D|/site/a.html", "/D:/site/a.html"},
        {"file://host/share/a.html", "//host/share/a.html"},
        {"file:////host/share/a.html", "//host/share/a.html"},
        {"file://///host/a.html", std::nullopt},
        {"file:\\\\\\site\\a.html", std::nullopt}, // the scheme needs its two slashes
        {"file://\\site\\a.html", "/site/a.html"},
        {"http://x/a.html", std::nullopt},
        {"file:/", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FileUrlToPath(c.url), c.expected) << c.url;
}

} // namespace
} // namespace orvane
