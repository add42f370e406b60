#include "progress_bar.h"

#include "app/display_text.h"
#include "platform/console.h"
#include "platform/pump.h"

#include <algorithm>
#include <cstdio>

namespace cli {

void ProgressBar::ScanStarted() {
  if (platform::Interrupted())
    platform::SetStopRequested(true);
}

void ProgressBar::GaugeProgress(int progress) {
  if (!enabled_ || maximum_ <= 0)
    return;
  int percent = static_cast<int>(100LL * progress / maximum_);
  if (percent != last_percent_)
    Draw(percent);
}

void ProgressBar::FolderStarted(const std::string& folder_file_name) {
  folder_ = folder_file_name;
  bytes_.clear();
}

void ProgressBar::SourceScanned(std::int64_t scanned, std::int64_t total) {
  if (!enabled_ || total <= 0)
    return;
  const bool gib = total >= (std::int64_t{1} << 30);
  const double unit = gib ? 1024.0 * 1024 * 1024 : 1024.0 * 1024;
  char text[64];
  std::snprintf(text, sizeof text, "%.1f of %.1f %s", static_cast<double>(scanned) / unit,
                static_cast<double>(total) / unit, gib ? "GiB" : "MiB");
  if (bytes_ == text)
    return;
  bytes_ = text;
  Draw(std::max(last_percent_, 0));
}

void ProgressBar::UnreadableBytes(const std::string& name, std::int64_t offset,
                                  std::int64_t length) {
  const int percent = last_percent_;
  Clear();
  char at[24];
  std::snprintf(at, sizeof at, "0x%llx", static_cast<unsigned long long>(offset));
  out_ << "salvora: " << app::DisplayText(name) << ": cannot read " << length << " bytes at " << at
       << "; read as zeros\n"
       << std::flush;
  if (percent >= 0)
    Draw(percent);
}

void ProgressBar::Draw(int percent) {
  constexpr int kWidth = 30;
  last_percent_ = percent;
  int filled = percent * kWidth / 100;
  out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << percent
       << "%  " << rows_ << " e-mails  " << app::DisplayText(folder_);
  if (!bytes_.empty())
    out_ << "  " << bytes_;
  out_ << "\x1b[K" << std::flush;
}

void ProgressBar::Clear() {
  if (enabled_ && last_percent_ >= 0)
    out_ << "\r\x1b[K" << std::flush;
  last_percent_ = -1;
}

void ProgressBar::ScanEnded(bool) {
  Clear();
}

} // namespace cli
