#include "core/app/links.h"
#include "core/settings/version.h"
#include "fixtures.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kovara::core {
namespace {

TEST(LinksTest, AddressesAreExact)
{
    EXPECT_EQ(supportEmailUrl("2.0.1.2"), "mailto:support@kovara.example.org?subject=Kovara%202.0.1.2");
    EXPECT_EQ(updateCheckUrl("2.0.1.2"),
              "https://kovara.example.org/updatecheck2.php?major=2&minor=0&release=1&build=2");
    EXPECT_EQ(std::string(kProductWebsite), "https://kovara.example.org/");
}

// The version the commands send is the project's, as the build knows it,
// whatever number it has now, in the four parts the update check takes.
TEST(LinksTest, TheCommandsSendTheBuildsVersion)
{
    std::ifstream cache(std::string(KOVARA_BUILD_DIR) + "/CMakeCache.txt");
    std::string line, projectVersion;
    while (std::getline(cache, line))
        if (line.rfind("CMAKE_PROJECT_VERSION:", 0) == 0)
            projectVersion = line.substr(line.find('=') + 1);
    ASSERT_FALSE(projectVersion.empty());
    EXPECT_EQ(fileVersionText(), projectVersion);
    EXPECT_NO_THROW(updateCheckQuery(fileVersionText()));
}

TEST(LinksTest, UpdateQueryTakesTheFirstFourParts)
{
    struct Case {
        const char* version;
        const char* query; // nullptr: raises
    };
    const Case cases[] = {
        {"10.20.30.40", "major=10&minor=20&release=30&build=40"},
        {"2.0.1.2.7", "major=2&minor=0&release=1&build=2"},
        {"2..1.", "major=2&minor=&release=1&build="},
        {"2.0.1", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        if (c.query)
            EXPECT_EQ(updateCheckQuery(c.version), c.query);
        else
            EXPECT_EQ(test::messageOf([&] { updateCheckQuery(c.version); }),
                      std::string("The file version \"") + c.version +
                          "\" does not have the four parts major.minor.release.build");
    }
}

} // namespace
} // namespace kovara::core
