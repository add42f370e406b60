// The platform's standard message dialog with the system's titles and button texts.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace window {

enum class BoxKind { Warning, Information, Confirm, Error };
enum class BoxAnswer { Ok, Yes, No, Cancel };

// Shows a modal box: "Warning" and "Information" with "OK"; "Confirm" with "&Yes", "&No" and
// "Cancel" (closing the box answers Cancel); an error box titled with the application title.
BoxAnswer ShowMessageBox(QWidget* parent, BoxKind kind, const QString& text);

// Tests answer boxes here instead of racing the dialog with timers; an empty hook restores
// the real dialog.
using MessageBoxHook = std::function<BoxAnswer(BoxKind, const QString& title, const QString& text)>;
void SetMessageBoxHook(MessageBoxHook hook);

// The error box's text: "." is appended when the message's last character sorts after ".".
QString ErrorBoxText(const QString& message);

// Shows an exception's message in the application's error box.
void ShowErrorBox(QWidget* parent, const std::exception& error);

} // namespace window
