// The warning that names Outlook Express, driven by a real window on a private X server.
#include "app/working_copies.h"
#include "recording_notifier.h"
#include "scoped_environment.h"
#include "x_test_display.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkingCopiesWindow, AFailedCopyWithOutlookExpressOpenAsksToCloseIt) {
  auto display = testenv::XTestDisplay::Start();
  if (!display)
    GTEST_SKIP() << "Xvfb is not installed";
  testenv::IsolatedUser user;
  testenv::TempFolder store;
  testenv::ScopedVariable name("DISPLAY", display->name());
  testenv::RecordingNotifier notifier;
  app::WorkingCopies copies(
      user.tmp() + '/', [&] { return store.path(); }, notifier);

  display->AddWindow("Outlook Express - Main Identity");
  EXPECT_FALSE(copies.BackupFolderFiles({{"Inbox.dbx", true}}));
  display->AddWindow("Outlook Express", /*framed=*/true);
  EXPECT_FALSE(copies.BackupFolderFiles({{"Inbox.dbx", true}}));
  EXPECT_EQ(notifier.warnings,
            (std::vector<std::string>{"Cannot backup dbx file.",
                                      "Please close Outlook Express program before start "
                                      "recovery."}));
}

TEST(WorkingCopiesWindow, AnOpenOutlookExpressDoesNotStopCopiesThatSucceed) {
  auto display = testenv::XTestDisplay::Start();
  if (!display)
    GTEST_SKIP() << "Xvfb is not installed";
  testenv::IsolatedUser user;
  testenv::TempFolder store;
  testenv::WriteFile(store / "Inbox.dbx", "x");
  testenv::ScopedVariable name("DISPLAY", display->name());
  display->AddWindow("Outlook Express");
  testenv::RecordingNotifier notifier;
  app::WorkingCopies copies(
      user.tmp() + '/', [&] { return store.path(); }, notifier);
  EXPECT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", true}}));
  EXPECT_TRUE(notifier.warnings.empty());
}

} // namespace
