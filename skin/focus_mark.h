// The mark a skinned button shows while it has the keyboard focus: a dotted rectangle inside
// its edge, as push buttons on Windows have.
#pragma once

#include <QRect>

class QPainter;
class QWidget;

namespace skin {

// Whether `widget` shows the mark: it has the focus, and the keyboard has moved the focus in
// its window (as on Windows, a mouse user sees no marks until the first Tab).
bool ShowsFocusMark(const QWidget& widget);

// Draws the mark inside `area`, three pixels in from its edges.
void PaintFocusMark(QPainter& painter, const QRect& area);

} // namespace skin
