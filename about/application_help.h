// The application's help handler: help requests raised anywhere in the program (F1 on a
// control that has a help context) go to the one handler installed here.
#pragma once

#include <functional>

class QObject;
class QWidget;

namespace about {

// Receives a help command and its data; sets `callDefault` when the standard handling
// should still proceed. Returns whether the request was dealt with.
using HelpHandler = std::function<bool(unsigned command, long data, bool& callDefault)>;

// Installs `handler` and returns the one it replaces.
HelpHandler SetApplicationHelpHandler(HelpHandler handler);
const HelpHandler& ApplicationHelpHandler();

// Raises a help request: true when the handler dealt with it and wanted no standard
// handling. Without a handler, the standard handling (none on this system) proceeds.
bool ApplicationHelpCommand(unsigned command, long data);

// The help context of a control; 0 for none. F1 uses the focused control's context, or the
// nearest of its parents that has one.
void SetHelpContext(QWidget* widget, int context);
int HelpContextOf(const QWidget* widget);

// Turns F1 into HELP_CONTEXT requests; a second call on the same application does nothing.
void InstallHelpKey(QObject* application);

} // namespace about
