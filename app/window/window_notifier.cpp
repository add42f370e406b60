#include "window_notifier.h"

#include "message_boxes.h"

#include <QApplication>
#include <QString>

namespace window {

void ShowWaitPointer(bool waiting) {
  static bool shown = false;
  if (waiting == shown)
    return;
  shown = waiting;
  if (waiting)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void WindowNotifier::ShowWarning(const std::string& text) {
  ShowMessageBox(owner_, BoxKind::Warning, QString::fromStdString(text));
}

void WindowNotifier::ShowInformation(const std::string& text) {
  ShowMessageBox(owner_, BoxKind::Information, QString::fromStdString(text));
}

} // namespace window
