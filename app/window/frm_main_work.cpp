// The runs as the window drives them: the run state and what it locks, the scan behind the
// Start/Stop button with its gauge and count label, the save run, and reading a message for
// the message view.
#include "app/display_text.h"
#include "app/message_view.h"
#include "app/save_run.h"
#include "charset_decoder.h"
#include "destination_tree.h"
#include "frm_main.h"
#include "locale_text.h"
#include "message_boxes.h"
#include "message_window.h"
#include "platform/pump.h"
#include "recovered_emails_model.h"
#include "recovered_emails_view.h"
#include "skin/ez_rgn_btn.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>

namespace window {
namespace {

// The Date column's text: the user's own formats.
std::string RowDateText(double value) {
  return LocaleDateText(value);
}

} // namespace

void TFrmMain::SetRunState(RunState state) {
  if (state == run_state_)
    return;
  run_state_ = state;
  ApplyRunState();
}

void TFrmMain::ApplyRunState() {
  const bool idle = IsIdle();
  // The folder list that the copy walks and a new copy or scan would refill, with the buttons
  // that change it.
  TSSelectDrive->setEnabled(idle);
  // Navigation would leave the page of the active run or start another run. The picture
  // buttons keep their own enabled flag, which the pages set; this one is the run's.
  for (skin::TEzRgnBtn* button : {BackBtn, NextBtn, HomeBtn})
    button->setEnabled(idle);
  // A scan lets the user sort and tick while it adds rows (Stop is on this page too); a save
  // writes the rows ticked when it began, and the list stays as it was until it ends.
  const bool rows_usable = idle || run_state_ == RunState::Scanning;
  TSScan->setEnabled(rows_usable);
  emails_model_->SetLocked(!rows_usable);
  SaveBtn->setEnabled(idle);
  CBSaveFormat->setEnabled(idle);
  TVDestinationFolder->setEnabled(idle);
}

void TFrmMain::RequestCloseAfterRun() {
  platform::SetStopRequested(true);
  close_pending_ = true;
  SetRunState(RunState::WindingDown);
  ShowWaitPointer(true);
}

bool TFrmMain::FinishPendingClose() {
  if (!close_pending_ || !IsIdle())
    return false;
  close_pending_ = false;
  close();
  QApplication::quit();
  return true;
}

void TFrmMain::StartBtnClick() {
  if (run_state_ == RunState::Scanning || run_state_ == RunState::WindingDown) {
    // Stop: the run ends at its next check; the hourglass shows until it has.
    platform::SetStopRequested(true);
    ShowWaitPointer(true);
    SetRunState(RunState::WindingDown);
    return;
  }
  if (!IsIdle() || StartBtn->text() != "Start")
    return;
  RunScope scanning(*this, RunState::Scanning);
  damaged_files_.clear();
  unreadable_.clear();
  try {
    recovery_->Scan(*this, RowDateText, CBDeepScan->isChecked());
  } catch (const std::exception& error) {
    ShowErrorBox(this, error);
  }
  for (const QString& name : unreadable_)
    ShowMessageBox(this, BoxKind::Warning,
                   "Parts of " + name +
                       " could not be read. They were searched as if they "
                       "held zeros; the messages found may miss some text.");
}

void TFrmMain::DeepScanBtnClick() {
  // The page stays usable while a scan runs; a second click then must not start another.
  if (!IsIdle() || damaged_files_.isEmpty())
    return;
  const std::string name = damaged_files_.takeFirst().toStdString();
  RunScope scanning(*this, RunState::Scanning);
  StartBtn->setEnabled(true); // Stop works during this scan as during the first
  try {
    recovery_->DeepScanFolder(name, *this, RowDateText);
  } catch (const std::exception& error) {
    ShowErrorBox(this, error);
  }
}

void TFrmMain::FolderLooksDamaged(const std::string& folder_file_name) {
  damaged_files_ << QString::fromStdString(folder_file_name);
}

void TFrmMain::UnreadableBytes(const std::string& name, std::int64_t, std::int64_t) {
  const QString shown = QString::fromStdString(app::DisplayText(name));
  if (!unreadable_.contains(shown))
    unreadable_ << shown;
}

void TFrmMain::ShowDamageNotice() {
  const bool shown = !damaged_files_.isEmpty();
  if (shown)
    LabelDamaged->setText(damaged_files_.front() +
                          " looks damaged: a deep scan may find more of its messages.");
  LabelDamaged->setVisible(shown);
  DeepScanBtn->setVisible(shown);
  // The list gives up the room the line takes.
  ListFrame->setFixedHeight(shown ? kListHeightWithNotice : kListHeight);
  LVRecoveredEmails->setGeometry(ListFrame->contentsRect());
}

void TFrmMain::ShowEmailCount() {
  const auto found = static_cast<qulonglong>(recovery_->List().Count());
  LabelImagesFound->setText(emails_model_->Filtered()
                                ? QString("%1 of %2").arg(emails_model_->rowCount()).arg(found)
                                : QString::number(found));
}

void TFrmMain::ScanStarted() {
  StartBtn->setText("Stop");
  GProgress->setProgress(0);
  BackBtn->setButtonEnabled(false);
  NextBtn->setButtonEnabled(false);
  SelectAllBtn->setEnabled(false);
  SelectNoneBtn->setEnabled(false);
  emails_model_->ListReset(); // a scan empties the list; the deep scan of one file adds to it
  ShowEmailCount();
  LabelDamaged->hide();
  DeepScanBtn->hide();
}

void TFrmMain::GaugeMaximum(int maximum) {
  // The maximum may not fall below the progress; with no folder the bar stays empty.
  GProgress->setProgress(0);
  GProgress->setMaxValue(std::max(maximum, 1));
}

void TFrmMain::GaugeProgress(int progress) {
  GProgress->setProgress(progress);
}

void TFrmMain::FolderStarted(const std::string&) {
  ShowWaitPointer(false);
}

void TFrmMain::RowAdded(std::size_t) {
  emails_model_->RowsAppended();
  ShowEmailCount();
}

void TFrmMain::ScanEnded(bool no_rows) {
  emails_model_->AllRowsAppended();
  LVRecoveredEmails->FitDateColumn();
  StartBtn->setEnabled(false); // still reads "Stop": a new run starts from the first page
  BackBtn->setButtonEnabled(true);
  NextBtn->setButtonEnabled(true);
  SelectAllBtn->setEnabled(true);
  SelectNoneBtn->setEnabled(true);
  if (no_rows) {
    // Without results the user can only go back or home.
    BringToFront(BackBtn, ExitBtn);
    BringToFront(HomeBtn, NextBtn);
  }
  ShowDamageNotice();
  ShowWaitPointer(false);
}

bool TFrmMain::SaveEmails() {
  if (!IsIdle())
    return false;
  app::SaveCount count;
  bool saved = false;
  RunScope saving(*this, RunState::Saving);
  try {
    saved = recovery_->Save(SavePath.toStdString(), count, ChosenSaveFormat());
  } catch (const std::exception& error) {
    ShowWaitPointer(false);
    ShowErrorBox(this, error);
  }
  // Stop, the close button or an error ended it early: never the success text.
  if (!saved)
    ShowMessageBox(this, BoxKind::Warning, QString::fromStdString(app::SaveCutShortText(count)));
  return saved;
}

void TFrmMain::SaveBtnClick() {
  SaveEmails();
  FinishPendingClose();
}

void TFrmMain::LVRecoveredEmailsOpen(int row) {
  // Reading pumps and clears the stop flag while it reads: it waits for any other run.
  if (!IsIdle() || row < 0 || row >= emails_model_->rowCount())
    return;
  const app::TEmailMessage message = recovery_->List()[emails_model_->ListIndex(row)].message;
  // The page is disabled while the message is read; the focus comes back where it was.
  const QPointer<QWidget> focus = focusWidget();
  app::MessageView view;
  bool read = false;
  {
    RunScope reading(*this, RunState::Reading);
    ShowWaitPointer(true);
    try {
      view = app::ViewRecoveredMessage(message, recovery_->TempDir(), &DecodeCharset);
      read = true;
      ShowWaitPointer(false);
    } catch (const std::exception& error) {
      ShowWaitPointer(false);
      ShowErrorBox(this, error);
    }
  }
  if (focus && focus->isEnabled())
    focus->setFocus(Qt::OtherFocusReason);
  if (FinishPendingClose() || !read)
    return;
  FrmMessage->ShowMessage(std::move(view), QString::fromStdString(emails_model_->ShownText(
                                               app::kFolderColumn, message.FolderFileName)));
  FrmMessage->show();
  FrmMessage->raise();
  FrmMessage->activateWindow();
}

} // namespace window
