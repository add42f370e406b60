#include "canvas.h"
#include "pictures.h"

#include <QLinearGradient>

namespace artwork {
namespace {

constexpr int kSkinWidth = 62, kSliceHeight = 25;

struct Face {
  QColor top, bottom, border, highlight;
};

// Normal, pointer over, pressed, disabled.
const Face kFaces[4] = {
    {QColor(255, 255, 255), QColor(226, 232, 240), QColor(148, 163, 184), QColor(255, 255, 255)},
    {QColor(239, 246, 255), QColor(207, 222, 254), QColor(79, 110, 247), QColor(255, 255, 255)},
    {QColor(191, 207, 250), QColor(221, 231, 254), QColor(49, 70, 190), QColor(170, 188, 240)},
    {QColor(243, 245, 248), QColor(236, 239, 243), QColor(203, 210, 220), QColor(250, 251, 252)},
};

} // namespace

QImage PushButtonSkin() {
  QImage canvas = Canvas(kSkinWidth, 4 * kSliceHeight);
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int slice = 0; slice < 4; ++slice) {
    const Face& face = kFaces[slice];
    const double top = slice * kSliceHeight;
    const QRectF body(0.5, top + 0.5, kSkinWidth - 1, kSliceHeight - 1);
    QLinearGradient fill(0, top, 0, top + kSliceHeight);
    fill.setColorAt(0, face.top);
    fill.setColorAt(1, face.bottom);
    painter.setBrush(fill);
    painter.setPen(QPen(face.border, 1));
    painter.drawRoundedRect(body, 5, 5);
    // A one-pixel light line under the top edge gives the face its bevel.
    painter.setPen(QPen(face.highlight, 1));
    painter.drawLine(QPointF(5, top + 1.5), QPointF(kSkinWidth - 5, top + 1.5));
  }
  painter.end();
  // Edges are blended over the light grey of the pages the buttons sit on.
  return FlattenOnKey(canvas, kSkinCorner, QColor(233, 233, 233));
}

} // namespace artwork
