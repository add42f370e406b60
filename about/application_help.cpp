#include "about/application_help.h"

#include "about/hh_funcs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <QVariant>
#include <QWidget>

namespace about {
namespace {

constexpr char kHelpContextProperty[] = "HelpContext";
constexpr char kHelpKeyFilterName[] = "HelpKeyFilter";

HelpHandler& Handler() {
  static HelpHandler handler;
  return handler;
}

class HelpKeyFilter : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
        !watched->isWidgetType())
      return false;
    const int context = HelpContextOf(static_cast<QWidget*>(watched));
    if (context == 0)
      return false;
    return ApplicationHelpCommand(HELP_CONTEXT, context);
  }
};

} // namespace

HelpHandler SetApplicationHelpHandler(HelpHandler handler) {
  HelpHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

const HelpHandler& ApplicationHelpHandler() {
  return Handler();
}

bool ApplicationHelpCommand(unsigned command, long data) {
  bool callDefault = true;
  if (Handler())
    Handler()(command, data, callDefault);
  return !callDefault;
}

void SetHelpContext(QWidget* widget, int context) {
  widget->setProperty(kHelpContextProperty, context);
}

int HelpContextOf(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget())
    if (const int context = widget->property(kHelpContextProperty).toInt(); context != 0)
      return context;
  return 0;
}

void InstallHelpKey(QObject* application) {
  // One filter per application, however many windows ask for it.
  if (application->findChild<QObject*>(kHelpKeyFilterName, Qt::FindDirectChildrenOnly) != nullptr)
    return;
  auto* filter = new HelpKeyFilter(application);
  filter->setObjectName(kHelpKeyFilterName);
  application->installEventFilter(filter);
}

} // namespace about
