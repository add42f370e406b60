#include "canvas.h"
#include "pictures.h"

#include <QPainterPath>

namespace artwork {
namespace {

const QColor kInk(51, 65, 85);
const QColor kPaper(255, 255, 255);
const QColor kBlue(79, 110, 247), kBlueDark(49, 70, 190);
const QColor kFolder(250, 204, 21), kFolderDark(202, 138, 4);
const QColor kGreen(22, 163, 74), kRed(220, 38, 38);

QPen Line(const QColor& colour, double width = 1) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Envelope(QPainter& p, const QRectF& r) {
  p.setPen(Line(kBlueDark));
  p.setBrush(kPaper);
  p.drawRect(r);
  QPainterPath flap;
  flap.moveTo(r.topLeft());
  flap.lineTo(r.center().x(), r.top() + r.height() * 0.6);
  flap.lineTo(r.topRight());
  p.setBrush(Qt::NoBrush);
  p.setPen(Line(kBlue));
  p.drawPath(flap);
}

void Tray(QPainter& p) {
  QPainterPath tray;
  tray.moveTo(1.5, 9.5);
  tray.lineTo(5.5, 9.5);
  tray.lineTo(6.5, 11.5);
  tray.lineTo(9.5, 11.5);
  tray.lineTo(10.5, 9.5);
  tray.lineTo(14.5, 9.5);
  tray.lineTo(14.5, 14.5);
  tray.lineTo(1.5, 14.5);
  tray.closeSubpath();
  p.setPen(Line(kInk));
  p.setBrush(QColor(148, 163, 184));
  p.drawPath(tray);
}

void Folder(QPainter& p) {
  p.setPen(Line(kFolderDark));
  p.setBrush(kFolder.darker(112));
  p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
  p.setBrush(kFolder);
  p.drawRoundedRect(QRectF(1.5, 5.5, 13, 9), 1, 1);
}

void Paper(QPainter& p, const QRectF& r) {
  p.setPen(Line(QColor(100, 116, 139)));
  p.setBrush(kPaper);
  p.drawRect(r);
  p.setPen(Line(QColor(148, 163, 184)));
  for (double y = r.top() + 2; y < r.bottom() - 0.5; y += 2)
    p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

void CheckBox(QPainter& p, bool ticked) {
  p.setPen(Line(ticked ? kBlueDark : QColor(100, 116, 139)));
  p.setBrush(ticked ? kBlue : kPaper);
  p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
  if (ticked) {
    QPainterPath tick;
    tick.moveTo(5, 8.2);
    tick.lineTo(7.2, 10.4);
    tick.lineTo(11.2, 5.6);
    p.setPen(Line(Qt::white, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
  }
}

void Cross(QPainter& p) {
  p.setPen(Line(kRed, 2.6));
  p.drawLine(QPointF(4, 4), QPointF(12, 12));
  p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void PaperClip(QPainter& p) {
  p.translate(8, 8);
  p.rotate(40);
  p.translate(-8, -8);
  QPainterPath clip;
  clip.moveTo(9.5, 5);
  clip.lineTo(9.5, 12);
  clip.arcTo(QRectF(6, 10.5, 3.5, 3.5), 0, -180);
  clip.lineTo(6, 3.5);
  clip.arcTo(QRectF(6, 1, 5, 5), 180, -180);
  clip.lineTo(11, 13);
  clip.arcTo(QRectF(4.5, 10, 6.5, 5.5), 0, -180);
  clip.lineTo(4.5, 6);
  p.setPen(Line(kInk, 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawPath(clip);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(Line(colour, 1.8));
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::hypot((to - from).x(), (to - from).y());
  const QPointF n(-d.y(), d.x());
  QPainterPath head;
  head.moveTo(to - 3.2 * d + 2.8 * n);
  head.lineTo(to);
  head.lineTo(to - 3.2 * d - 2.8 * n);
  p.setBrush(Qt::NoBrush);
  p.drawPath(head);
}

void RecycleBin(QPainter& p) {
  p.setPen(Line(kInk));
  p.setBrush(QColor(203, 213, 225));
  QPainterPath bin;
  bin.moveTo(3.5, 4.5);
  bin.lineTo(12.5, 4.5);
  bin.lineTo(11.5, 14.5);
  bin.lineTo(4.5, 14.5);
  bin.closeSubpath();
  p.drawPath(bin);
  p.setBrush(QColor(148, 163, 184));
  p.drawRoundedRect(QRectF(2.5, 2.5, 11, 2), 1, 1);
  p.drawLine(QPointF(6.5, 2.5), QPointF(6.5, 1.5));
  p.drawLine(QPointF(6.5, 1.5), QPointF(9.5, 1.5));
  p.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 2.5));
  p.setPen(Line(QColor(100, 116, 139)));
  for (double x : {6.0, 8.0, 10.0})
    p.drawLine(QPointF(x, 6.5), QPointF(x, 12.5));
}

// A magnifying glass over a sheet: a message found by searching the file's blocks.
void Lens(QPainter& p) {
  Paper(p, QRectF(1.5, 1.5, 9, 11));
  p.setPen(Line(kGreen, 1.6));
  p.setBrush(QColor(220, 252, 231, 200));
  p.drawEllipse(QPointF(9.5, 8.5), 3.6, 3.6);
  p.setPen(Line(kInk, 2.4));
  p.drawLine(QPointF(12.2, 11.2), QPointF(14.6, 13.6));
}

} // namespace

QImage ListImage(int index) {
  QImage image = Canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
  case 0:
  case 1:
    CheckBox(p, index == 1);
    break;
  case 2:
    Cross(p);
    break;
  case 3:
    PaperClip(p);
    break;
  case 4: // in-tray holding a letter
    Envelope(p, QRectF(3.5, 3.5, 9, 6));
    Tray(p);
    break;
  case 5: // stack of envelopes
    Envelope(p, QRectF(4.5, 2.5, 10, 7));
    Envelope(p, QRectF(1.5, 6.5, 10, 7));
    break;
  case 6: // tray with an outgoing arrow
    Tray(p);
    Arrow(p, QPointF(6, 9), QPointF(12.5, 2.5), kGreen);
    break;
  case 7: // folder with letter and card
    Folder(p);
    Paper(p, QRectF(4.5, 1.5, 6, 7));
    Envelope(p, QRectF(7.5, 7.5, 7, 5));
    break;
  case 8:
    RecycleBin(p);
    break;
  case 9: // folder with letters
    Paper(p, QRectF(3.5, 1.5, 7, 8));
    Paper(p, QRectF(6.5, 2.5, 7, 8));
    p.setPen(Line(kFolderDark));
    p.setBrush(kFolder);
    p.drawRoundedRect(QRectF(1.5, 7.5, 13, 7), 1, 1);
    break;
  case 10:
    Lens(p);
    break;
  default:
    break;
  }
  p.end();
  return image;
}

} // namespace artwork
