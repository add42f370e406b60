#include "recovery_commands.h"

#include "app/date_text.h"
#include "app/display_text.h"
#include "app/folder_list.h"
#include "app/recovery.h"
#include "app/store_location.h"
#include "folder_output.h"
#include "platform/console.h"
#include "platform/temp_directory.h"
#include "progress_bar.h"
#include "row_output.h"
#include "text/ascii.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <system_error>

namespace cli {
namespace {

constexpr int kRecoveryError = 1;
constexpr int kInterrupted = 130;

// Warnings of the workflow, as diagnostics of the program.
class CommandLineNotifier : public app::UserNotifier {
public:
  explicit CommandLineNotifier(std::ostream& errors) : errors_(errors) {}
  void ShowWarning(const std::string& text) override { errors_ << "salvora: " << text << '\n'; }
  void ShowInformation(const std::string& text) override { errors_ << "salvora: " << text << '\n'; }
  void SetBusy(bool) override {}

private:
  std::ostream& errors_;
};

// Where the folder files come from: --store, the folder of files named with a folder part,
// or the store Outlook Express recorded.
std::string StoreRoot(const Arguments& args, std::vector<std::string>& names,
                      std::ostream& errors) {
  std::optional<std::string> folder_of_files;
  for (std::string& file : names) {
    std::filesystem::path path(file);
    if (!path.has_parent_path())
      continue;
    std::error_code error;
    if (!std::filesystem::exists(path, error))
      throw std::runtime_error("file '" + file + "' does not exist");
    std::string parent = path.parent_path().string();
    if (folder_of_files && *folder_of_files != parent)
      throw UsageError("folder files named with a folder part must lie in one folder");
    folder_of_files = parent;
    file = path.filename().string();
  }
  if (folder_of_files && args.store)
    throw UsageError("give --store or files with a folder part, not both");
  if (folder_of_files)
    return *folder_of_files;
  app::StoreLocation location;
  if (args.store) {
    try {
      location.ChooseFolder(*args.store);
    } catch (const std::exception& error) {
      errors << "salvora: " << error.what() << '\n'; // the folder is used all the same
    }
  }
  return location.Root();
}

// Ticks what the command line asked for: the named files, all of them, or the defaults.
void TickFolders(std::vector<app::FolderFile>& folders, const Arguments& args,
                 const std::vector<std::string>& names) {
  if (args.all_folders) {
    for (auto& folder : folders)
      folder.ticked = true;
    return;
  }
  if (names.empty())
    return;
  for (auto& folder : folders)
    folder.ticked = false;
  for (const std::string& name : names) {
    auto found = std::find_if(folders.begin(), folders.end(), [&](const app::FolderFile& f) {
      return text::EqualsIgnoringAsciiCase(f.name, name);
    });
    if (found == folders.end())
      throw UsageError("no folder file '" + name + "' in the store");
    found->ticked = true;
  }
}

// --subject and --from: a row matches when its subject and its sender, as shown, match.
class RowPatterns {
public:
  explicit RowPatterns(const Arguments& args) {
    if (args.subject_pattern)
      subject_.emplace(*args.subject_pattern);
    if (args.from_pattern)
      from_.emplace(*args.from_pattern);
  }

  bool Matches(const app::RecoveredRow& row) const {
    return (!subject_ || std::regex_search(app::DisplayText(row.subject), *subject_)) &&
           (!from_ || std::regex_search(app::DisplayText(row.from), *from_));
  }

private:
  std::optional<std::regex> subject_, from_;
};

// The rows scan prints: those that match --subject and --from.
app::RecoveredList MatchingRows(const app::RecoveredList& list, const Arguments& args) {
  const RowPatterns patterns(args);
  app::RecoveredList matching;
  for (const app::RecoveredRow& row : list.Rows())
    if (patterns.Matches(row))
      matching.Add(row);
  return matching;
}

// Applies --all/--live/--deleted/--found and the patterns to the rows' check states.
void SelectRows(app::RecoveredList& list, const Arguments& args) {
  const RowPatterns patterns(args);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const app::RecoveredRow& row = list[i];
    bool ticked = row.ticked;
    switch (args.selection) {
    case Selection::Preticked:
      break;
    case Selection::All:
      ticked = true;
      break;
    case Selection::Live:
      ticked = !row.message.Deleted && !row.message.Found;
      break;
    case Selection::Deleted:
      ticked = row.message.Deleted;
      break;
    case Selection::Found:
      ticked = row.message.Found;
      break;
    }
    list.SetTicked(i, ticked && patterns.Matches(row));
  }
}

int ListFolders(const Arguments& args, std::ostream& out, std::ostream& errors) {
  std::vector<std::string> names;
  std::string root = StoreRoot(args, names, errors);
  if (root.empty()) {
    errors << "salvora: no Outlook Express store found; name one with --store DIR\n";
    return kRecoveryError;
  }
  WriteFolders(root, app::FillFolderList(root), args.format, out);
  return 0;
}

// Saves the ticked rows; a run that an error or Ctrl-C cut short says how far it got.
bool SaveRows(app::Recovery& recovery, const std::string& output, app::SaveFormat format,
              app::UserNotifier& notifier, std::ostream& errors) {
  std::error_code error;
  std::filesystem::create_directories(output, error);
  if (error)
    throw std::runtime_error("Cannot create folder " + output);
  app::SaveCount count;
  bool saved = false;
  try {
    saved = recovery.Save(output, count, format);
  } catch (const std::exception& error) {
    errors << "salvora: " << error.what() << '\n';
  }
  if (!saved)
    notifier.ShowWarning(app::SaveCutShortText(count));
  return saved;
}

// A disk image or device named on the command line; a folder is not one.
void CheckImage(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found)
    throw std::runtime_error("file '" + path + "' does not exist");
  if (status.type() == std::filesystem::file_type::directory)
    throw UsageError("'" + path + "' is a folder; name a store folder with --store");
}

int ScanAndSave(const Arguments& args, std::ostream& out, std::ostream& errors) {
  // Folder files are copied and read from the store; disk images and devices are read in place.
  std::vector<std::string> names, images;
  for (const std::string& file : args.files)
    (app::IsReadInPlace(file) ? images : names).push_back(file);
  const bool uses_store = !names.empty() || images.empty();
  std::string root;
  if (uses_store) {
    root = StoreRoot(args, names, errors);
    if (root.empty()) {
      errors << "salvora: no Outlook Express store found; name one with --store DIR\n";
      return kRecoveryError;
    }
  }
  for (const std::string& image : images)
    CheckImage(image);
  CommandLineNotifier notifier(errors);
  app::Recovery recovery(
      platform::GetTempDirectory(), [root] { return root; }, notifier);
  if (uses_store) {
    recovery.LoadFolders();
    TickFolders(recovery.Folders(), args, names);
  }
  for (const std::string& image : images)
    recovery.AddInPlaceSource(image);
  if (std::none_of(recovery.Folders().begin(), recovery.Folders().end(),
                   [](const app::FolderFile& f) { return f.ticked; })) {
    errors << "salvora: no folder file to scan; name some or give --all-folders\n";
    return kRecoveryError;
  }
  // The working copies go on every way out; they hold private mail.
  struct CopiesGuard {
    app::Recovery& recovery;
    ~CopiesGuard() { recovery.DeleteWorkingCopies(); }
  } guard{recovery};

  platform::StopOnInterrupt();
  if (!recovery.MakeWorkingCopies())
    return platform::Interrupted() ? kInterrupted : kRecoveryError;
  if (platform::Interrupted())
    return kInterrupted;
  ProgressBar progress(errors, platform::StandardErrorIsTerminal());
  recovery.Scan(progress, &app::IsoDateText, args.deep);
  for (const std::string& name : progress.DamagedFolders())
    errors << "salvora: " << name << " looks damaged; --deep may find more of its messages\n";
  if (args.command == Command::Save)
    SelectRows(recovery.List(), args);
  else if (args.subject_pattern || args.from_pattern)
    recovery.List() = MatchingRows(recovery.List(), args);
  WriteRows(recovery.List(), args.format, out);
  if (platform::Interrupted())
    return kInterrupted;
  if (args.command == Command::Save &&
      !SaveRows(recovery, *args.output, args.save_format, notifier, errors))
    return platform::Interrupted() ? kInterrupted : kRecoveryError;
  return 0;
}

} // namespace

int RunRecoveryCommand(const Arguments& args, std::ostream& out, std::ostream& errors) {
  try {
    if (args.command == Command::Folders)
      return ListFolders(args, out, errors);
    return ScanAndSave(args, out, errors);
  } catch (const UsageError&) {
    throw;
  } catch (const std::exception& error) {
    errors << "salvora: " << error.what() << '\n';
    return kRecoveryError;
  }
}

} // namespace cli
