// The scan run and the save run as the window drives them: the Start/Stop button, the gauge,
// the count label, the pointer, and the buttons each run disables and brings to the front.
#include "frm_main.h"
#include "message_boxes.h"
#include "platform/pump.h"
#include "recovered_emails_model.h"
#include "skin/ez_rgn_btn.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"

#include <QLabel>

namespace window {

void TFrmMain::StartBtnClick() {
  if (StartBtn->text() != "Start") {
    // A click while the run is active: it stops at its next check.
    platform::SetStopRequested(true);
    ShowWaitPointer(true);
    return;
  }
  scan_running_ = true;
  try {
    recovery_->Scan(*this);
  } catch (const std::exception& error) {
    scan_running_ = false;
    ShowErrorBox(this, error);
    return;
  }
  scan_running_ = false;
}

void TFrmMain::ScanStarted() {
  StartBtn->setText("Stop");
  LabelImagesFound->setText("0");
  GProgress->setProgress(0);
  BackBtn->setButtonEnabled(false);
  NextBtn->setButtonEnabled(false);
  SelectAllBtn->setEnabled(false);
  SelectNoneBtn->setEnabled(false);
  emails_model_->ListReset(); // the run empties the list
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

void TFrmMain::RowAdded(std::size_t row_count) {
  emails_model_->RowsAppended();
  LabelImagesFound->setText(QString::number(row_count));
}

void TFrmMain::ScanEnded(bool no_rows) {
  emails_model_->RowsAppended();
  StartBtn->setEnabled(false); // still reads "Stop": a new run starts from the first page
  BackBtn->setButtonEnabled(true);
  NextBtn->setButtonEnabled(true);
  SelectAllBtn->setEnabled(true);
  SelectNoneBtn->setEnabled(true);
  if (no_rows) {
    // Without results the user can only go back or home.
    BackBtn->raise();
    HomeBtn->raise();
  }
  ShowWaitPointer(false);
}

bool TFrmMain::SaveEmails() {
  // The window stays live while files are written; a second Save or Home waits its turn.
  if (saving_)
    return false;
  saving_ = true;
  SaveBtn->setEnabled(false);
  bool saved = false;
  try {
    saved = recovery_->Save(SavePath.toStdString());
  } catch (const std::exception& error) {
    ShowWaitPointer(false);
    ShowErrorBox(this, error);
  }
  SaveBtn->setEnabled(true);
  saving_ = false;
  return saved;
}

void TFrmMain::SaveBtnClick() {
  SaveEmails();
}

} // namespace window
