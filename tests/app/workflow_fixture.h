// Working copies built from generated folder files, and an observer that records what a
// scan told the window.
#pragma once

#include "app/recovery.h"
#include "dbx_writer.h"
#include "platform/pump.h"
#include "recording_notifier.h"
#include "scoped_environment.h"

#include <string>
#include <vector>

namespace testenv {

// A message text with the header fields the list shows.
inline std::string Message(const std::string& subject, const std::string& from = "a@example.org",
                           const std::string& body = "Hello.\r\n") {
  return "Return-Path: <" + from + ">\r\nFrom: " + from +
         "\r\nTo: b@example.org, c@example.org\r\n" + "Subject: " + subject +
         "\r\nDate: Mon, 3 Mar 2003 10:20:30 +0000\r\n\r\n" + body;
}

// Records the notifications of a scan.
class RecordingObserver : public app::ScanObserver {
public:
  void ScanStarted() override { events.push_back("started"); }
  void GaugeMaximum(int maximum) override { events.push_back("max " + std::to_string(maximum)); }
  void GaugeProgress(int progress) override { gauge.push_back(progress); }
  void FolderStarted(const std::string& name) override { events.push_back("folder " + name); }
  void RowAdded(std::size_t count) override { row_counts.push_back(count); }
  void FolderLooksDamaged(const std::string& name) override { events.push_back("damaged " + name); }
  void ScanEnded(bool no_rows) override {
    events.push_back(no_rows ? "ended without rows" : "ended");
    stop_was_set_at_end = platform::StopRequested();
  }

  std::vector<std::string> events;
  std::vector<int> gauge;
  std::vector<std::size_t> row_counts;
  bool stop_was_set_at_end = false;
};

// A temporary folder that stands for both the store and the working copies' folder.
class WorkflowFixture {
public:
  WorkflowFixture() : temp_dir_(folder_.path() + "/") {}

  void WriteFolderFile(const std::string& name, const dbxtest::DbxImage& image) {
    image.WriteTo(folder_ / name);
  }
  const std::string& TempDir() const { return temp_dir_; }
  const TempFolder& Folder() const { return folder_; }

  // Runs a scan over `folders` (names with their ticks) on the files written; `deep` adds
  // the deep scan.
  app::RecoveredList Scan(const std::vector<app::FolderFile>& folders, RecordingObserver& observer,
                          bool deep = false) {
    app::Recovery recovery(
        temp_dir_, [this] { return folder_.path(); }, notifier);
    recovery.Folders() = folders;
    recovery.Scan(observer, {}, deep);
    return recovery.List();
  }

  RecordingNotifier notifier;

private:
  TempFolder folder_;
  std::string temp_dir_;
};

} // namespace testenv
