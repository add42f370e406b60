// The main window: a three-page wizard on a skinned, borderless, shaped window. "Drive"
// chooses the folder files, "Search" scans them and ticks e-mails, "Save Files" writes them.
#pragma once

#include "app/recovery.h"
#include "app/settings.h"
#include "app/store_location.h"
#include "run_state.h"
#include "window_notifier.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QStackedWidget;

namespace skin {
class TCoolForm;
class TEzRgnBtn;
class TGauge;
class THSSkinBtn;
} // namespace skin

namespace about {
class THookHelpSystem;
}

namespace window {

class DestinationTree;
class RecoveredEmailsModel;
class RecoveredEmailsView;
class TFrmMessage;

// What the window is started with.
struct StartOptions {
  std::string program_folder; // ends with a separator; "Data" and the help file lie there
  std::string temp_dir;       // ends with a separator; empty: the user's temporary folder
  // A store folder, .dbx files, or disk images and devices, from the command line.
  QStringList arguments;
  std::function<void(bool loading)> show_about;              // the splash and about window
  std::function<void(int context)> show_help;                // opens help at a context number
  std::function<bool()> help_available;                      // a help viewer is installed
  std::function<void(const QString& target)> open_document;  // the shell's "open"
  std::function<void(const QString& folder)> explore_folder; // the file manager
  // The "Open..." dialog: a store folder, a folder file in one, or a disk image or device.
  std::function<QString()> choose_source;
  std::function<QString()> choose_attachment_folder; // where "Save attachment..." writes
};

class TFrmMain : public QWidget, private app::ScanObserver {
  Q_OBJECT

public:
  explicit TFrmMain(StartOptions options, QWidget* parent = nullptr);
  ~TFrmMain() override;

  // The controls, by their designer names.
  skin::TCoolForm* CoolForm = nullptr;
  QFrame* WhitePanel = nullptr;
  QStackedWidget* PageControl = nullptr;
  QWidget* TSSelectDrive = nullptr;
  QWidget* TSScan = nullptr;
  QWidget* TSSaveFile = nullptr;
  QListWidget* CBFolderList = nullptr;
  QLabel* LabelStoreNotice = nullptr;
  skin::THSSkinBtn* OpenStoreBtn = nullptr;
  skin::THSSkinBtn* SelectAllFolderBtn = nullptr;
  skin::THSSkinBtn* SelectNoneFolderBtn = nullptr;
  skin::THSSkinBtn* RefreshBtn = nullptr;
  QCheckBox* CBDeepScan = nullptr;
  QLineEdit* EditFilter = nullptr;
  RecoveredEmailsView* LVRecoveredEmails = nullptr;
  QFrame* ListFrame = nullptr;
  QLabel* LabelDamaged = nullptr;
  skin::THSSkinBtn* DeepScanBtn = nullptr;
  QLabel* LabelImagesFound = nullptr;
  skin::TGauge* GProgress = nullptr;
  skin::THSSkinBtn* SelectAllBtn = nullptr;
  skin::THSSkinBtn* SelectNoneBtn = nullptr;
  skin::THSSkinBtn* StartBtn = nullptr;
  QLabel* LabelSaveImages = nullptr;
  DestinationTree* TVDestinationFolder = nullptr;
  QComboBox* CBSaveFormat = nullptr;
  skin::THSSkinBtn* SaveBtn = nullptr;
  skin::THSSkinBtn* BrowseBtn = nullptr;
  skin::TEzRgnBtn* BackBtn = nullptr;
  skin::TEzRgnBtn* ExitBtn = nullptr;
  skin::TEzRgnBtn* NextBtn = nullptr;
  skin::TEzRgnBtn* HomeBtn = nullptr;
  skin::TEzRgnBtn* CloseBtn = nullptr;
  skin::TEzRgnBtn* HelpBtn = nullptr;
  skin::TEzRgnBtn* LogoBtn = nullptr;
  TFrmMessage* FrmMessage = nullptr; // the message view, shown by a double-click or Enter
  QMenu* PopupAboutus = nullptr;
  QAction* mnu_Help = nullptr;
  QAction* mnu_HomePage = nullptr;
  QAction* mnu_About = nullptr;

  // The handlers.
  void NextBtnClick();
  void BackBtnClick();
  void HomeBtnClick();
  void ExitBtnClick();
  void StartBtnClick();
  void SaveBtnClick();
  void BrowseBtnClick();
  void RefreshBtnClick();
  void OpenStoreBtnClick();
  void SelectAllFolderBtnClick();
  void SelectNoneFolderBtnClick();
  void SelectAllBtnClick();
  void SelectNoneBtnClick();
  void EditFilterChange(const QString& text);
  // Opens the message view on a row of the list as shown; only while no run is active.
  void LVRecoveredEmailsOpen(int row);
  void DeepScanBtnClick();
  void HelpBtnClick();
  void mnu_HelpClick();
  void mnu_HomePageClick();
  void mnu_AboutClick();

  // Uses `folder` as the store for this run (the "Open..." button and the command line).
  void ChooseStoreFolder(const QString& folder);
  // What "Open..." chose: a store folder, a folder file (its folder becomes the store and the
  // file is ticked), or a disk image or device, which is listed ticked beside the store's
  // files and deep-scanned where it lies. The folder list is filled anew.
  void OpenSource(const QString& path);

  // What the window is doing; see ApplyRunState for what each state allows.
  RunState CurrentRun() const { return run_state_; }

  // The page shown.
  QWidget* ActivePage() const;
  // The button in front in the left (Back/Exit) and right (Next/Home) slots.
  skin::TEzRgnBtn* LeftSlotFront() const;
  skin::TEzRgnBtn* RightSlotFront() const;

  app::Recovery& Engine() { return *recovery_; }
  RecoveredEmailsModel& EmailsModel() { return *emails_model_; }
  const app::Settings& Settings() const { return settings_; }
  const std::string& HelpFileName() const { return help_file_name_; }
  QString SavePath;

protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  // Where the list lies on "Search", under the filter box; the line that offers a deep scan
  // takes room from it.
  static constexpr int kListTop = 58, kListHeight = 191, kListHeightWithNotice = 162;

  // Building the window.
  void BuildSurface();
  void BuildDrivePage();
  void BuildScanPage();
  void BuildSavePage();
  void BuildWindowButtons();
  void BuildPopupMenu();
  void LoadDataPictures();

  // Runs. While one is active, the controls whose handlers would change what it walks are
  // disabled, and those handlers refuse should a click queued earlier reach them.
  class RunScope {
  public:
    RunScope(TFrmMain& frm, RunState state) : frm_(frm) { frm_.SetRunState(state); }
    ~RunScope() { frm_.SetRunState(RunState::Idle); }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

  private:
    TFrmMain& frm_;
  };
  bool IsIdle() const { return run_state_ == RunState::Idle; }
  void SetRunState(RunState state);
  void ApplyRunState();
  // The close button or Exit while a run is active: the run is asked to stop, and the window
  // closes once it has wound down and said how far it got.
  void RequestCloseAfterRun();
  // Closes the window when that was asked for during a run that has now ended; true if so.
  bool FinishPendingClose();

  // Pages and slots.
  void ShowPage(QWidget* page);
  // Puts `front` in front of `behind` in a navigation slot; only the one in front takes focus.
  void BringToFront(skin::TEzRgnBtn* front, skin::TEzRgnBtn* behind);
  void TSSelectDriveShow();
  void TSScanShow();
  void TSSaveFileShow();
  void FillFolderList();
  void StoreFolderListTicks();
  bool SaveEmails();
  // The form the save writes, as "Save as" shows it.
  app::SaveFormat ChosenSaveFormat() const;
  void ReturnHome();
  void SaveSettingsReportingErrors();

  // The scan's notifications.
  void ScanStarted() override;
  void GaugeMaximum(int maximum) override;
  void GaugeProgress(int progress) override;
  void FolderStarted(const std::string& folder_file_name) override;
  void RowAdded(std::size_t row_count) override;
  void FolderLooksDamaged(const std::string& folder_file_name) override;
  void UnreadableBytes(const std::string& name, std::int64_t offset, std::int64_t length) override;
  void ScanEnded(bool no_rows) override;
  // The line on "Search" that offers a deep scan of the first file that looks damaged.
  void ShowDamageNotice();
  // The count under the list: the rows found, or "12 of 340" while the filter hides some.
  void ShowEmailCount();

  // Runs a handler; an error shows in the application's error box.
  template <typename Handler> void Guarded(Handler handler);

  StartOptions options_;
  app::Settings settings_;
  app::StoreLocation store_location_;
  std::string help_file_name_;
  std::unique_ptr<about::THookHelpSystem> help_hook_;
  std::unique_ptr<WindowNotifier> notifier_;
  std::unique_ptr<app::Recovery> recovery_;
  RecoveredEmailsModel* emails_model_ = nullptr;
  QStringList preticked_files_; // .dbx files named on the command line
  QStringList damaged_files_;   // files a normal scan found damaged, not yet deep-scanned
  QStringList unreadable_;      // sources with bytes the last scan could not read
  RunState run_state_ = RunState::Idle;
  bool close_pending_ = false;
};

// Makes the main window. When that fails (no private temporary folder can be made, say), the
// error shows in the application's error box and nothing is returned, so the program can end
// cleanly.
std::unique_ptr<TFrmMain> CreateMainWindow(StartOptions options);

} // namespace window
