#include <gtest/gtest.h>

#include "store/AboutLinks.h"
#include "tests/support/UrlRecorder.h"

namespace kl {
namespace {

TEST(AboutLinksTest, VersionIsTheFirstTwoPartsOfTheProgramsFileVersion) {
  // This test program carries the file version 2.5.7.9.
  std::string version = "unchanged";
  GetAppVersion(version);
  EXPECT_EQ(version, "2.5");
}

TEST(AboutLinksTest, OpenLinkHandsTheAddressToTheDesktop) {
  testing::UrlRecorder browser;
  EXPECT_TRUE(OpenLink(HomePage));
  EXPECT_TRUE(OpenLink(CoursePage));
  EXPECT_EQ(browser.Opened(),
            (std::vector<std::string>{"https://kennel-logbook.example.org/",
                                      "https://kennel-logbook.example.org/RecommendedProgram"}));
}

TEST(AboutLinksTest, OpenLinkAnswersFalseWhenNothingCanOpenIt) {
  // Headless, with no handler for the scheme, no launcher can be started.
  EXPECT_FALSE(OpenLink("unknown-scheme:nowhere"));
  EXPECT_FALSE(OpenLink(""));
}

}  // namespace
}  // namespace kl
