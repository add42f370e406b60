#include "recovery.h"

#include <algorithm>

namespace app {

Recovery::Recovery(std::string temp_dir, WorkingCopies::StoreRootSource store_root,
                   UserNotifier& notifier, RecoveredList::TextComparison compare)
    : store_root_(store_root), notifier_(notifier),
      copies_(std::move(temp_dir), std::move(store_root), notifier), list_(std::move(compare)) {}

Recovery::~Recovery() = default;

void Recovery::LoadFolders() {
  folders_ = FillFolderList(store_root_());
  for (const FolderFile& source : sources_)
    folders_.push_back(source);
}

void Recovery::AddInPlaceSource(const std::string& path) {
  const FolderFile source = InPlaceSource(path);
  auto same = [&](const FolderFile& folder) { return folder.source_path == source.source_path; };
  if (std::none_of(sources_.begin(), sources_.end(), same))
    sources_.push_back(source);
  const auto listed = std::find_if(folders_.begin(), folders_.end(), same);
  if (listed == folders_.end())
    folders_.push_back(source);
  else
    listed->ticked = true;
}

void Recovery::ClearInPlaceSources() {
  sources_.clear();
  std::erase_if(folders_, [](const FolderFile& folder) { return !folder.source_path.empty(); });
}

bool Recovery::MakeWorkingCopies() {
  // The copy pumps, and a handler run then may refill the folder list.
  const std::vector<FolderFile> folders = folders_;
  return copies_.BackupFolderFiles(folders);
}

void Recovery::Scan(ScanObserver& observer, DateFormatter date_text, bool deep) {
  const std::vector<FolderFile> folders = folders_; // as for the copy
  RunScan(ScanInput{folders, copies_.TempDir(), std::move(date_text), deep}, list_, observer);
}

void Recovery::DeepScanFolder(const std::string& folder_file_name, ScanObserver& observer,
                              DateFormatter date_text) {
  const std::vector<FolderFile> none;
  RunDeepScanOfFolder(ScanInput{none, copies_.TempDir(), std::move(date_text), true},
                      folder_file_name, list_, observer);
}

bool Recovery::Save(const std::string& save_path, SaveCount& count, SaveFormat format) {
  SaveOptions options{format, {}};
  // A file the folder database does not name has its file name for display name; its mbox or
  // Maildir is named after the file without ".dbx" then.
  for (const FolderFile& folder : folders_)
    if (folder.display_name != folder.name)
      options.folder_names[folder.name] = folder.display_name;
  bool saved = SaveEmails(list_, copies_.TempDir(), save_path, notifier_, count, options);
  if (saved)
    emails_saved_ = true;
  return saved;
}

} // namespace app
