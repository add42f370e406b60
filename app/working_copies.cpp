#include "working_copies.h"

#include "platform/file_system.h"
#include "platform/pump.h"
#include "platform/window_lookup.h"
#include "store_location.h"

#include <utility>

namespace app {
namespace {

// Names come from the store listing, but a front end may pass what the user typed: a name
// that leads out of the store or the temporary folder is never copied.
bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos;
}

} // namespace

WorkingCopies::WorkingCopies(std::string temp_dir, StoreRootSource store_root,
                             UserNotifier& notifier)
    : temp_dir_(std::move(temp_dir)), store_root_(std::move(store_root)), notifier_(notifier) {}

std::string WorkingCopies::CopyPath(std::string_view folder_file_name) const {
  return temp_dir_ + std::string(folder_file_name);
}

bool WorkingCopies::BackupFolderFiles(const std::vector<FolderFile>& folders) {
  bool ok = true;
  {
    BusyScope busy(notifier_);
    DeleteBackupFiles();
    for (const FolderFile& folder : folders) {
      platform::PumpMessages();
      // A disk image or device is read in place, never copied.
      if (!folder.ticked || folder.name.empty() || !folder.source_path.empty())
        continue;
      const std::string root = store_root_();
      const std::string target = CopyPath(folder.name);
      // No recorded store means nothing to copy from, not the folder "/".
      if (root.empty() || !IsPlainFileName(folder.name) ||
          !platform::CopyFileReplacing(JoinStorePath(root, folder.name), target)) {
        ok = false;
        break;
      }
      backup_files_.push_back(target);
    }
  }
  if (!ok) {
    // A running Outlook Express is the usual reason a folder file cannot be read.
    notifier_.ShowWarning(platform::TopLevelWindowExists("Outlook Express")
                              ? kCloseOutlookExpressWarning
                              : kCannotBackupWarning);
  }
  return ok;
}

void WorkingCopies::DeleteBackupFiles() {
  for (const std::string& path : backup_files_)
    platform::RemoveFile(path);
  backup_files_.clear();
}

} // namespace app
