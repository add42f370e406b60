#include "skin/button_face.h"

#include <QPainter>
#include <vector>

namespace skin {

QImage DefaultSkin() {
  return QImage(QStringLiteral(":/skin/DEFAULT_SKIN.png")).convertToFormat(QImage::Format_RGB32);
}

bool IsValidSkin(const QString& fileName) {
  QImage skin;
  if (!skin.load(fileName) || skin.isNull())
    return false;
  return skin.height() % 4 == 0;
}

QSize ButtonSizeFor(ButtonShape shape, QSize skinSize, QSize asked) {
  if (shape == ButtonShape::Ellipse)
    return {skinSize.width(), skinSize.height() / 4 + 1};
  return {asked.width(), (skinSize.height() - 4) / 4 + 1};
}

void FloodFillSurface(QImage& image, QPoint start, const QColor& fill) {
  if (!image.rect().contains(start))
    return;
  const QRgb key = image.pixel(start);
  const QRgb paint = fill.rgb();
  if (key == paint)
    return;
  std::vector<QPoint> pending{start};
  while (!pending.empty()) {
    const QPoint p = pending.back();
    pending.pop_back();
    if (!image.rect().contains(p) || image.pixel(p) != key)
      continue;
    image.setPixel(p, paint);
    pending.insert(pending.end(),
                   {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
  }
}

QImage BuildFace(const QImage& skinSource, int width, ButtonShape shape, bool customSkin,
                 const QColor& parentColor) {
  if (width <= 0 || skinSource.isNull())
    return {};
  const int height = skinSource.height();
  QImage face(width, height, QImage::Format_RGB32);
  face.fill(kBtnFace);
  {
    QPainter painter(&face);
    if (shape == ButtonShape::Ellipse) {
      painter.drawImage(face.rect(), skinSource);
    } else {
      const int cap = skinSource.width() / 3;
      if (cap > 0) {
        const QImage middle = skinSource.copy(cap, 0, cap, height);
        for (int i = 0; i <= width / cap + 1; ++i)
          painter.drawImage(i * cap, 0, middle);
      }
      painter.drawImage(0, 0, skinSource.copy(0, 0, cap, height));
      painter.drawImage(width - cap, 0, skinSource.copy(skinSource.width() - cap, 0, cap, height));
    }
  }
  if (shape != ButtonShape::Bar || !customSkin) {
    const QColor key = face.pixelColor(0, 0);
    const int w = width - 1;
    const QPoint starts[] = {
        {0, 0},          {w, 0},          {0, height / 4},     {w, height / 4},
        {0, height / 2}, {w, height / 2}, {0, 3 * height / 4}, {w, 3 * height / 4},
        {0, height - 1}, {w, height - 1}};
    for (const QPoint& start : starts)
      if (face.pixelColor(start) == key)
        FloodFillSurface(face, start, parentColor);
  }
  return face;
}

} // namespace skin
