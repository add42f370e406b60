// Progress on standard error while a scan runs, drawn from the gauge's values; only on a
// terminal, so scripts and pipes see nothing of it. It also keeps a Ctrl-C that came before
// the scan began from being forgotten when the scan clears the stop flag.
#pragma once

#include "app/scan_run.h"

#include <cstdint>
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
  void FolderStarted(const std::string& folder_file_name) override;
  void RowAdded(std::size_t row_count) override { rows_ = row_count; }
  void ScanEnded(bool no_rows) override;
  // How far the pass over a disk image has come, in bytes, beside the percentage.
  void SourceScanned(std::int64_t scanned, std::int64_t total) override;
  // One line each, terminal or not, the bar drawn again after it:
  // "salvora: disk.img: cannot read 4096 bytes at 0x1f000; read as zeros".
  void UnreadableBytes(const std::string& name, std::int64_t offset, std::int64_t length) override;
  // Kept for after the scan, so a message never breaks into the bar.
  void FolderLooksDamaged(const std::string& folder_file_name) override {
    damaged_.push_back(folder_file_name);
  }
  const std::vector<std::string>& DamagedFolders() const { return damaged_; }

private:
  void Draw(int percent);
  void Clear();

  std::ostream& out_;
  bool enabled_;
  int maximum_ = 0;
  int last_percent_ = -1; // -1: no bar on the line
  std::size_t rows_ = 0;
  std::string folder_;
  std::string bytes_; // "1.2 of 465.8 GiB" while a disk image is scanned
  std::vector<std::string> damaged_;
};

} // namespace cli
