// Small pictures for the skin tests.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace skintest {

inline const QColor kKey(255, 0, 255);

inline QImage Solid(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// A picture in `colour` with the key colour at its top-left pixel and over `holes`.
inline QImage WithHoles(int width, int height, const QColor& colour,
                        std::initializer_list<QRect> holes) {
  QImage image = Solid(width, height, colour);
  image.setPixelColor(0, 0, kKey);
  for (const QRect& hole : holes)
    for (int y = hole.top(); y <= hole.bottom(); ++y)
      for (int x = hole.left(); x <= hole.right(); ++x)
        image.setPixelColor(x, y, kKey);
  return image;
}

} // namespace skintest
