#include "skin/gauge_paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace skin {
namespace {

QImage BlackImage(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

void XorInto(QImage& base, const QImage& layer) {
  for (int y = 0; y < base.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(base.scanLine(y));
    const auto* in = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
    for (int x = 0; x < base.width(); ++x)
      out[x] = 0xFF000000u | ((out[x] ^ in[x]) & RGB_MASK);
  }
}

// A rectangle given by its left and top edges and its exclusive right and bottom edges.
QRect EdgeRect(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void DrawBar(QPainter& painter, const GaugeLook& look, QRect paintRect, int percent) {
  // Paint rectangle in edge terms: right and bottom exclusive.
  const int left = paintRect.left();
  const int top = paintRect.top();
  const int right = paintRect.left() + paintRect.width();
  const int bottom = paintRect.top() + paintRect.height();
  const qint64 w = right - left + 1;
  const qint64 h = bottom - top + 1;
  painter.fillRect(paintRect, look.backColor);
  switch (look.kind) {
  case gkText:
    break;
  case gkHorizontalBar: {
    const int fill = static_cast<int>(std::min(w * percent / 100, w));
    if (fill >= 1)
      painter.fillRect(EdgeRect(left, top, fill, static_cast<int>(h)), look.foreColor);
    break;
  }
  case gkVerticalBar: {
    const int fill = static_cast<int>(std::min(h * percent / 100, h));
    if (fill >= 1)
      painter.fillRect(EdgeRect(left, bottom - fill, right, bottom), look.foreColor);
    break;
  }
  case gkPie: {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.foreColor);
    painter.drawPie(QRectF(paintRect), 90 * 16, -percent * 360 * 16 / 100);
    break;
  }
  case gkNeedle: {
    // A half dial whose needle sweeps from the left (0 %) to the right (100 %).
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(paintRect.center().x() + 0.5, paintRect.bottom());
    const double radius = std::min(paintRect.width() / 2.0, double(paintRect.height()));
    const double angle = M_PI * (1.0 - percent / 100.0);
    painter.setPen(QPen(look.foreColor, 2));
    painter.drawLine(centre, centre + QPointF(radius * std::cos(angle), -radius * std::sin(angle)));
    break;
  }
  }
}

} // namespace

int GaugePercent(qint32 minValue, qint32 maxValue, qint32 progress) {
  if (maxValue == minValue)
    return 0;
  // In 64 bits, so wide ranges do not overflow.
  const qint64 done = static_cast<qint64>(progress) - minValue;
  const qint64 range = static_cast<qint64>(maxValue) - minValue;
  return static_cast<int>(done * 100 / range);
}

QImage PaintGaugeImage(const GaugeLook& look, QSize size, int percent, const QFont& font) {
  QImage base = BlackImage(size);
  if (size.isEmpty())
    return base;
  const QRect paintRect = look.borderStyle == GaugeBorder::Single
                              ? QRect(QPoint(0, 0), size).adjusted(1, 1, -1, -1)
                              : QRect(QPoint(0, 0), size);
  QImage bar = BlackImage(size);
  {
    QPainter painter(&bar);
    painter.setClipRect(paintRect);
    DrawBar(painter, look, paintRect, percent);
  }
  XorInto(base, bar);
  if (look.showText) {
    QImage text = BlackImage(size);
    QFont plain = font;
    // Pure white pixels only, so each one turns the colour beneath into its inverse.
    plain.setStyleStrategy(QFont::NoAntialias);
    const QString label = QString::asprintf("%d%%", percent);
    const QFontMetrics metrics(plain);
    const int x = (paintRect.width() + 1 - metrics.horizontalAdvance(label)) / 2;
    const int y = (paintRect.height() + 1 - metrics.height()) / 2;
    QPainter painter(&text);
    painter.setClipRect(paintRect);
    painter.setFont(plain);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(x, y + metrics.ascent()), label);
    painter.end();
    XorInto(base, text);
  }
  return base;
}

} // namespace skin
