// The message view: one recovered message, read-only, as a mail program shows it: where it was,
// its header fields, its text and its attachments, which "Save attachment..." writes into a
// folder the user chooses.
#pragma once

#include "app/message_view.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace window {

class MessageBody;

// What the view asks of the program around it.
struct MessageViewActions {
  std::function<QString()> choose_folder;     // where attachments go; empty when cancelled
  std::function<void(const QUrl&)> open_link; // a web or mail link the user clicked
};

class TFrmMessage : public QDialog {
  Q_OBJECT

public:
  explicit TFrmMessage(MessageViewActions actions, QWidget* parent = nullptr);

  // Shows `message`, found in the folder `place` ("Local Folders/Inbox").
  void ShowMessage(app::MessageView message, const QString& place);
  const app::MessageView& Message() const { return message_; }

  QLineEdit* EditFolder = nullptr;
  QLineEdit* EditFrom = nullptr;
  QLineEdit* EditTo = nullptr;
  QLineEdit* EditCc = nullptr;
  QLineEdit* EditSubject = nullptr;
  QLineEdit* EditDate = nullptr;
  QLabel* LabelFragment = nullptr;
  QLabel* LabelCut = nullptr;
  MessageBody* MemoBody = nullptr;
  QLabel* LabelAttachments = nullptr;
  QListWidget* LBAttachments = nullptr;
  QPushButton* SaveAttachmentBtn = nullptr;
  QLabel* LabelSaved = nullptr;
  QPushButton* CloseBtn = nullptr;

  // Writes the selected attachments into a folder the user chooses, never replacing a file.
  void SaveAttachmentBtnClick();

private:
  void LinkClick(const QUrl& url);

  MessageViewActions actions_;
  app::MessageView message_;
};

} // namespace window
