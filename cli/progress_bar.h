// Progress on standard error while a scan runs, drawn from the gauge's values; only on a
// terminal, so scripts and pipes see nothing of it. It also keeps a Ctrl-C that came before
// the scan began from being forgotten when the scan clears the stop flag.
#pragma once

#include "app/scan_run.h"

#include <ostream>
#include <string>
#include <vector>

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
  // Kept for after the scan, so a message never breaks into the bar.
  void FolderLooksDamaged(const std::string& folder_file_name) override {
    damaged_.push_back(folder_file_name);
  }
  const std::vector<std::string>& DamagedFolders() const { return damaged_; }

private:
  void Draw(int percent);

  std::ostream& out_;
  bool enabled_;
  int maximum_ = 0;
  int last_percent_ = -1;
  std::size_t rows_ = 0;
  std::string folder_;
  std::vector<std::string> damaged_;
};

} // namespace cli
