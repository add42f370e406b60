#include "progress_bar.h"

#include "app/display_text.h"
#include "platform/console.h"
#include "platform/pump.h"

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

void ProgressBar::Draw(int percent) {
  constexpr int kWidth = 30;
  last_percent_ = percent;
  int filled = percent * kWidth / 100;
  out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << percent
       << "%  " << rows_ << " e-mails  " << app::DisplayText(folder_) << "\x1b[K" << std::flush;
}

void ProgressBar::ScanEnded(bool) {
  if (enabled_ && last_percent_ >= 0)
    out_ << "\r\x1b[K" << std::flush;
}

} // namespace cli
