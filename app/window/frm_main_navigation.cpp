// The wizard's pages and navigation: which buttons each page puts in front, Next, Back,
// Home and Exit, the folder list, the destination folder, and the help menu.
#include "about/application_help.h"
#include "app/display_text.h"
#include "app/folder_list.h"
#include "destination_tree.h"
#include "frm_main.h"
#include "locale_text.h"
#include "message_boxes.h"
#include "platform/pump.h"
#include "recovered_emails_model.h"
#include "skin/ez_rgn_btn.h"
#include "skin/hs_skin_btn.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>

namespace window {
namespace {

constexpr char kSelectFolderWarning[] = "Please select e-mail folder.";
constexpr char kSaveQuestion[] = "Do you want to save e-mails?";
constexpr char kCannotLoadHelp[] = "Cannot load help file.";
constexpr int kHelpContext = 10;
// Where an item of the folder list keeps its file's index in the engine's folder list.
constexpr int kFolderIndexRole = Qt::UserRole;

} // namespace

template <typename Handler> void TFrmMain::Guarded(Handler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowErrorBox(this, error);
  }
}

QWidget* TFrmMain::ActivePage() const {
  return PageControl->currentWidget();
}

// Of two buttons on the same spot, the one later among the parent's children is in front.
static skin::TEzRgnBtn* Front(QWidget* parent, skin::TEzRgnBtn* a, skin::TEzRgnBtn* b) {
  const QObjectList& children = parent->children();
  return children.indexOf(a) > children.indexOf(b) ? a : b;
}

skin::TEzRgnBtn* TFrmMain::LeftSlotFront() const {
  return Front(const_cast<TFrmMain*>(this), BackBtn, ExitBtn);
}

skin::TEzRgnBtn* TFrmMain::RightSlotFront() const {
  return Front(const_cast<TFrmMain*>(this), NextBtn, HomeBtn);
}

void TFrmMain::BringToFront(skin::TEzRgnBtn* front, skin::TEzRgnBtn* behind) {
  front->raise();
  front->setFocusPolicy(Qt::TabFocus);
  behind->setFocusPolicy(Qt::NoFocus);
  if (behind->hasFocus())
    front->setFocus(Qt::OtherFocusReason); // the key that was pressed there now means this
}

void TFrmMain::ShowPage(QWidget* page) {
  PageControl->setCurrentWidget(page);
  // F1 on a control of the window's own (the picture buttons) opens the page's help.
  about::SetHelpContext(this, about::HelpContextOf(page));
  if (page == TSSelectDrive)
    TSSelectDriveShow();
  else if (page == TSScan)
    TSScanShow();
  else
    TSSaveFileShow();
}

void TFrmMain::TSSelectDriveShow() {
  for (QWidget* button :
       {static_cast<QWidget*>(RefreshBtn), static_cast<QWidget*>(SelectAllFolderBtn),
        static_cast<QWidget*>(SelectNoneFolderBtn)})
    button->update();
  BringToFront(ExitBtn, BackBtn);
  BringToFront(NextBtn, HomeBtn);
  StartBtn->setText("Start");
  StartBtn->setEnabled(true);
}

void TFrmMain::TSScanShow() {
  SelectAllBtn->update();
  SelectNoneBtn->update();
  StartBtn->update();
  BringToFront(BackBtn, ExitBtn);
  BringToFront(NextBtn, HomeBtn);
}

void TFrmMain::TSSaveFileShow() {
  SaveBtn->show();
  BrowseBtn->show();
  SaveBtn->update();
  BrowseBtn->update();
  BringToFront(BackBtn, ExitBtn);
  BringToFront(HomeBtn, NextBtn);
}

void TFrmMain::NextBtnClick() {
  if (!IsIdle())
    return; // a click that waited while a run pumped
  if (ActivePage() == TSSelectDrive) {
    StoreFolderListTicks();
    const auto& folders = recovery_->Folders();
    if (std::none_of(folders.begin(), folders.end(), [](const auto& f) { return f.ticked; })) {
      ShowMessageBox(this, BoxKind::Warning, kSelectFolderWarning);
      return;
    }
    bool copied = false;
    {
      RunScope copying(*this, RunState::Copying);
      Guarded([&] { copied = recovery_->MakeWorkingCopies(); });
    }
    if (FinishPendingClose() || !copied)
      return;
    recovery_->List().Clear();
    emails_model_->ListReset();
    ShowPage(TSScan);
    BackBtn->setButtonEnabled(true);
    StartBtnClick();
    FinishPendingClose();
  } else if (ActivePage() == TSScan) {
    platform::SetStopRequested(true);
    ShowPage(TSSaveFile);
  }
}

void TFrmMain::BackBtnClick() {
  if (!IsIdle())
    return;
  if (ActivePage() == TSScan) {
    platform::SetStopRequested(true);
    ShowPage(TSSelectDrive);
    BackBtn->setButtonEnabled(false);
  } else if (ActivePage() == TSSaveFile) {
    ShowPage(TSScan);
  }
}

void TFrmMain::ReturnHome() {
  recovery_->ClearEmailsSaved();
  recovery_->DeleteWorkingCopies();
  ShowPage(TSSelectDrive);
}

void TFrmMain::HomeBtnClick() {
  if (!IsIdle())
    return;
  if (recovery_->EmailsSaved() || !recovery_->List().AnyTicked()) {
    ReturnHome();
    return;
  }
  switch (ShowMessageBox(this, BoxKind::Confirm, kSaveQuestion)) {
  case BoxAnswer::Yes:
    if (SaveEmails() && !close_pending_)
      ReturnHome();
    FinishPendingClose();
    break;
  case BoxAnswer::No:
    ReturnHome();
    break;
  default:
    break; // Cancel, or the box closed: the page stays
  }
}

void TFrmMain::SaveSettingsReportingErrors() {
  settings_.save_path = SavePath.toStdString();
  Guarded([&] { app::SaveSettings(settings_); });
}

void TFrmMain::ExitBtnClick() {
  SaveSettingsReportingErrors();
  platform::SetStopRequested(true);
  if (!IsIdle()) {
    RequestCloseAfterRun();
    return;
  }
  QApplication::quit(); // the working copies stay
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  SaveSettingsReportingErrors();
  platform::SetStopRequested(true);
  if (!IsIdle()) {
    // The run works inside a click handler further down the stack: close once it has wound
    // down and said how far it got, rather than tear the window down under it.
    RequestCloseAfterRun();
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void TFrmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  SelectAllFolderBtn->update();
  SelectNoneFolderBtn->update();
  RefreshBtn->update();
}

void TFrmMain::FillFolderList() {
  recovery_->LoadFolders();
  auto& folders = recovery_->Folders();
  // Once a disk image is open, the store's files are ticked only when named.
  const bool sources = std::any_of(folders.begin(), folders.end(),
                                   [](const auto& folder) { return !folder.source_path.empty(); });
  if (!preticked_files_.isEmpty() || sources) {
    for (auto& folder : folders)
      if (folder.source_path.empty())
        folder.ticked =
            preticked_files_.contains(QString::fromStdString(folder.name), Qt::CaseInsensitive);
  }
  emails_model_->SetFolderNames(folders);
  // Each file as the folder it was in Outlook Express, in the order of those places; the item
  // keeps the file's index in the engine's list.
  std::vector<std::pair<std::string, int>> places;
  for (std::size_t i = 0; i < folders.size(); ++i)
    places.emplace_back(app::DisplayText(folders[i].display_path), static_cast<int>(i));
  const app::RecoveredList::TextComparison compare = LocaleTextComparison();
  std::stable_sort(places.begin(), places.end(),
                   [&](const auto& a, const auto& b) { return compare(a.first, b.first) < 0; });
  CBFolderList->clear();
  for (const auto& [place, index] : places) {
    const app::FolderFile& folder = folders[static_cast<std::size_t>(index)];
    auto* item = new QListWidgetItem(QString::fromStdString(place), CBFolderList);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(folder.ticked ? Qt::Checked : Qt::Unchecked);
    item->setData(kFolderIndexRole, index);
    item->setToolTip(QString::fromStdString(app::DisplayText(folder.name)));
  }
  // On Linux there is often no registry entry naming the store: say so, and where to go.
  const bool no_store = store_location_.Root().empty();
  LabelStoreNotice->setText(no_store ? "No Outlook Express store was found. Click \"Open...\" to "
                                       "choose a .dbx file, or a disk image to search."
                                     : QString());
  LabelStoreNotice->adjustSize();
  LabelStoreNotice->setVisible(no_store);
  CBFolderList->setGeometry(no_store ? QRect(12, 48, 535, 217) : QRect(12, 32, 535, 233));
}

void TFrmMain::StoreFolderListTicks() {
  auto& folders = recovery_->Folders();
  for (int i = 0; i < CBFolderList->count(); ++i) {
    const QListWidgetItem* item = CBFolderList->item(i);
    const auto index = static_cast<std::size_t>(item->data(kFolderIndexRole).toInt());
    if (index < folders.size())
      folders[index].ticked = item->checkState() == Qt::Checked;
  }
}

void TFrmMain::RefreshBtnClick() {
  if (!IsIdle())
    return;
  FillFolderList();
}

void TFrmMain::ChooseStoreFolder(const QString& folder) {
  if (!IsIdle())
    return;
  Guarded([&] { store_location_.ChooseFolder(folder.toStdString()); });
}

void TFrmMain::OpenStoreBtnClick() {
  if (!IsIdle())
    return;
  const QString chosen = options_.choose_source ? options_.choose_source() : QString();
  if (chosen.isEmpty() || !IsIdle())
    return;
  OpenSource(chosen);
}

void TFrmMain::OpenSource(const QString& path) {
  if (!IsIdle())
    return;
  const QFileInfo info(path);
  if (info.isDir() || !app::IsReadInPlace(path.toStdString())) {
    // Another store: the images opened for the one before go with it.
    recovery_->ClearInPlaceSources();
    preticked_files_.clear();
    if (info.isDir()) {
      ChooseStoreFolder(info.absoluteFilePath());
    } else {
      ChooseStoreFolder(info.absolutePath());
      preticked_files_ << info.fileName();
    }
  } else {
    recovery_->AddInPlaceSource(info.absoluteFilePath().toStdString());
  }
  FillFolderList();
}

void TFrmMain::SelectAllFolderBtnClick() {
  if (!IsIdle())
    return;
  for (int i = CBFolderList->count() - 1; i >= 0; --i)
    CBFolderList->item(i)->setCheckState(Qt::Checked);
}

void TFrmMain::SelectNoneFolderBtnClick() {
  if (!IsIdle())
    return;
  for (int i = CBFolderList->count() - 1; i >= 0; --i)
    CBFolderList->item(i)->setCheckState(Qt::Unchecked);
}

void TFrmMain::SelectAllBtnClick() {
  if (!IsIdle())
    return;
  emails_model_->SelectAll();
}

void TFrmMain::SelectNoneBtnClick() {
  if (!IsIdle())
    return;
  emails_model_->SelectNone();
}

void TFrmMain::EditFilterChange(const QString& text) {
  // During a save the list stays as it was; the page is disabled then.
  if (emails_model_->Locked())
    return;
  emails_model_->SetFilter(text);
  ShowEmailCount();
}

void TFrmMain::BrowseBtnClick() {
  if (options_.explore_folder)
    options_.explore_folder(TVDestinationFolder->SelectedFolder());
}

void TFrmMain::HelpBtnClick() {
  PopupAboutus->popup(QCursor::pos());
}

void TFrmMain::mnu_HelpClick() {
  if (options_.help_available && options_.help_available()) {
    if (options_.show_help)
      options_.show_help(kHelpContext);
  } else {
    ShowMessageBox(this, BoxKind::Warning, kCannotLoadHelp);
  }
}

void TFrmMain::mnu_HomePageClick() {
  if (options_.open_document)
    options_.open_document("http://" + QString::fromStdString(settings_.web_site_url));
}

void TFrmMain::mnu_AboutClick() {
  if (options_.show_about)
    options_.show_about(false);
}

} // namespace window
