// Working copies: the store's folder files are read only through copies of them in the
// user's temporary folder, made when the user leaves the first page.
#pragma once

#include "folder_list.h"
#include "user_notifier.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr char kCloseOutlookExpressWarning[] =
    "Please close Outlook Express program before start recovery.";
inline constexpr char kCannotBackupWarning[] = "Cannot backup dbx file.";

class WorkingCopies {
public:
  using StoreRootSource = std::function<std::string()>;

  // `temp_dir` ends with a separator (see platform::GetTempDirectory); `store_root` is asked
  // for every file copied, so a store moved meanwhile is followed.
  WorkingCopies(std::string temp_dir, StoreRootSource store_root, UserNotifier& notifier);

  // Deletes the earlier copies, then copies every ticked folder file, in list order, over
  // any copy of the same name; a source read in place is left out. The first failure ends the
  // copying and warns the user, asking to close Outlook Express when its window is open. True when
  // every ticked file was copied.
  bool BackupFolderFiles(const std::vector<FolderFile>& folders);

  // Deletes every copy made and forgets them; a deletion that fails is ignored.
  void DeleteBackupFiles();

  // The full path of every copy made and not yet deleted, in the order made.
  const std::vector<std::string>& BackupFileList() const { return backup_files_; }

  const std::string& TempDir() const { return temp_dir_; }

  // Where the copy of a folder file is read: TempDir followed by the name.
  std::string CopyPath(std::string_view folder_file_name) const;

private:
  std::string temp_dir_;
  StoreRootSource store_root_;
  UserNotifier& notifier_;
  std::vector<std::string> backup_files_;
};

} // namespace app
