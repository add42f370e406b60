// The recovery workflow without a user interface: the folder files of the store, their
// working copies, disk images and devices read in place, the scan into the result list and
// the save run. The window and the
// command line each drive one.
#pragma once

#include "folder_list.h"
#include "recovered_list.h"
#include "save_run.h"
#include "scan_run.h"
#include "user_notifier.h"
#include "working_copies.h"

#include <memory>
#include <string>
#include <vector>

namespace app {

class Recovery {
public:
  // `temp_dir` ends with a separator; `store_root` is asked whenever the store is needed.
  Recovery(std::string temp_dir, WorkingCopies::StoreRootSource store_root, UserNotifier& notifier,
           RecoveredList::TextComparison compare = {});
  ~Recovery();

  // The store's folder files with their default ticks, read anew, followed by the sources read
  // in place, ticked.
  void LoadFolders();
  std::vector<FolderFile>& Folders() { return folders_; }

  // Adds a disk image or device to Folders(), ticked (once: a source added again is ticked),
  // to be deep-scanned where it lies; LoadFolders keeps it until ClearInPlaceSources.
  void AddInPlaceSource(const std::string& path);
  void ClearInPlaceSources();

  // Copies the ticked folder files (not the sources read in place); false (the user was
  // warned) when a copy failed. The copy walks the list as it was when it started, whatever
  // happens to Folders() meanwhile.
  bool MakeWorkingCopies();
  void DeleteWorkingCopies() { copies_.DeleteBackupFiles(); }

  // Scans the ticked folder files and sources as they were when the scan started. With `deep`,
  // each file's messages found only by their data blocks are listed too; a source read in
  // place gives only those (see ScanInput).
  void Scan(ScanObserver& observer, DateFormatter date_text = {}, bool deep = false);
  // Adds the rows of the messages only the deep scan finds in one folder file's working copy.
  void DeepScanFolder(const std::string& folder_file_name, ScanObserver& observer,
                      DateFormatter date_text = {});

  // Writes the ticked rows into `save_path` (see SaveEmails) as .eml files, or an mbox or a
  // Maildir per folder file named after its display name; remembers that mail was saved.
  // `count` tells how far the run got, also when an error ends it.
  bool Save(const std::string& save_path, SaveCount& count, SaveFormat format = SaveFormat::Eml);
  bool Save(const std::string& save_path, SaveFormat format = SaveFormat::Eml) {
    SaveCount count;
    return Save(save_path, count, format);
  }

  RecoveredList& List() { return list_; }
  bool EmailsSaved() const { return emails_saved_; }
  void ClearEmailsSaved() { emails_saved_ = false; }
  const std::string& TempDir() const { return copies_.TempDir(); }

private:
  WorkingCopies::StoreRootSource store_root_;
  UserNotifier& notifier_;
  WorkingCopies copies_;
  std::vector<FolderFile> folders_;
  std::vector<FolderFile> sources_; // read in place, as added
  RecoveredList list_;
  bool emails_saved_ = false;
};

} // namespace app
