#include "message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace window {
namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

QString TitleOf(BoxKind kind) {
  switch (kind) {
  case BoxKind::Warning:
    return "Warning";
  case BoxKind::Information:
    return "Information";
  case BoxKind::Confirm:
    return "Confirm";
  case BoxKind::Error:
    break;
  }
  return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                          : QApplication::applicationDisplayName();
}

QMessageBox::Icon IconOf(BoxKind kind) {
  switch (kind) {
  case BoxKind::Warning:
    return QMessageBox::Warning;
  case BoxKind::Information:
    return QMessageBox::Information;
  case BoxKind::Confirm:
    return QMessageBox::Question;
  case BoxKind::Error:
    return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
  Hook() = std::move(hook);
}

BoxAnswer ShowMessageBox(QWidget* parent, BoxKind kind, const QString& text) {
  const QString title = TitleOf(kind);
  if (Hook())
    return Hook()(kind, title, text);
  QMessageBox box(IconOf(kind), title, text, QMessageBox::NoButton, parent);
  if (kind != BoxKind::Confirm) {
    box.addButton("OK", QMessageBox::AcceptRole);
    box.exec();
    return BoxAnswer::Ok;
  }
  QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
  QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes)
    return BoxAnswer::Yes;
  if (box.clickedButton() == no)
    return BoxAnswer::No;
  return BoxAnswer::Cancel;
}

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar('.'))
    return message + '.';
  return message;
}

void ShowErrorBox(QWidget* parent, const std::exception& error) {
  ShowMessageBox(parent, BoxKind::Error, ErrorBoxText(QString::fromLocal8Bit(error.what())));
}

} // namespace window
