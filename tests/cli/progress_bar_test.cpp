// SPDX-License-Identifier: MIT
// The progress on standard error: bytes of a disk image beside the bar, and unreadable bytes
// as lines of their own that never break into the bar.
#include "cli/progress_bar.h"

#include <gtest/gtest.h>
#include <sstream>

namespace cli {
namespace {

const std::string kUnreadable =
    "salvora: disk.img: cannot read 4096 bytes at 0x1f000; read as zeros\n";

std::string Bar(int percent, const std::string& bytes) {
  const int filled = percent * 30 / 100;
  return "\r[" + std::string(filled, '#') + std::string(30 - filled, ' ') + "] " +
         std::to_string(percent) + "%  0 e-mails  disk.img" + bytes + "\x1b[K";
}

TEST(ProgressBar, UnreadableBytesAreLinesOfTheirOwnTerminalOrNot) {
  constexpr std::int64_t kGiB = std::int64_t{1} << 30;
  struct Case {
    bool terminal;
    std::string expected;
  } cases[] = {
      {false, kUnreadable},
      {true, Bar(50, "") + Bar(50, "  1.5 of 3.0 GiB") + "\r\x1b[K" + kUnreadable +
                 Bar(50, "  1.5 of 3.0 GiB") + "\r\x1b[K"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    ProgressBar bar(out, c.terminal);
    bar.GaugeMaximum(200);
    bar.FolderStarted("disk.img");
    bar.GaugeProgress(100);
    bar.SourceScanned(3 * kGiB / 2, 3 * kGiB);
    bar.SourceScanned(3 * kGiB / 2 + 1000, 3 * kGiB); // the same text: not drawn again
    bar.UnreadableBytes("disk.img", 0x1f000, 4096);
    bar.ScanEnded(false);
    EXPECT_EQ(out.str(), c.expected) << c.terminal;
  }
}

} // namespace
} // namespace cli
