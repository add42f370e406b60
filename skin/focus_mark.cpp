#include "skin/focus_mark.h"

#include <QPainter>
#include <QWidget>

namespace skin {

bool ShowsFocusMark(const QWidget& widget) {
  return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void PaintFocusMark(QPainter& painter, const QRect& area) {
  const QRect mark = area.adjusted(3, 3, -4, -4);
  if (mark.width() < 1 || mark.height() < 1)
    return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  // Black and white dots, so the mark shows on any face.
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(mark);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawRect(mark);
  painter.restore();
}

} // namespace skin
