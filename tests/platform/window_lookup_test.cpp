#include "platform/window_lookup.h"
#include "scoped_environment.h"
#include "x_test_display.h"

#include <gtest/gtest.h>

namespace {

using testenv::ScopedVariable;

TEST(WindowLookup, WithoutADisplayThereIsNoWindow) {
  ScopedVariable unset("DISPLAY", std::nullopt);
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook Express"));
  ScopedVariable empty("DISPLAY", "");
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook Express"));
  ScopedVariable unreachable("DISPLAY", ":4711");
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook Express"));
}

TEST(WindowLookup, FindsOnlyTheExactTitle) {
  auto display = testenv::XTestDisplay::Start();
  if (!display)
    GTEST_SKIP() << "Xvfb is not installed";
  ScopedVariable name("DISPLAY", display->name());
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook Express"));
  display->AddWindow("Inbox - Outlook Express");
  display->AddWindow("Outlook Express Helper");
  display->AddWindow("outlook express");
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook Express"));
  EXPECT_TRUE(platform::TopLevelWindowExists("Outlook Express Helper"));
  display->AddWindow("Outlook Express");
  EXPECT_TRUE(platform::TopLevelWindowExists("Outlook Express"));
}

TEST(WindowLookup, FindsAWindowInsideAWindowManagersFrame) {
  auto display = testenv::XTestDisplay::Start();
  if (!display)
    GTEST_SKIP() << "Xvfb is not installed";
  ScopedVariable name("DISPLAY", display->name());
  display->AddWindow("Outlook Express", /*framed=*/true);
  EXPECT_TRUE(platform::TopLevelWindowExists("Outlook Express"));
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook"));
}

} // namespace
