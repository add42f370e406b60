// Progress on standard error while a scan runs, drawn from the gauge's values; only on a
// terminal, so scripts and pipes see nothing of it. It also keeps a Ctrl-C that came before
// the scan began from being forgotten when the scan clears the stop flag.
#pragma once

#include "app/scan_run.h"

#include <ostream>

namespace cli {

class ProgressBar : public app::ScanObserver {
public:
  ProgressBar(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

  void ScanStarted() override;
  void GaugeMaximum(int maximum) override { maximum_ = maximum; }
  void GaugeProgress(int progress) override;
  void FolderStarted(const std::string& folder_file_name) override { folder_ = folder_file_name; }
  void RowAdded(std::size_t row_count) override { rows_ = row_count; }
  void ScanEnded(bool no_rows) override;

private:
  void Draw(int percent);

  std::ostream& out_;
  bool enabled_;
  int maximum_ = 0;
  int last_percent_ = -1;
  std::size_t rows_ = 0;
  std::string folder_;
};

} // namespace cli
