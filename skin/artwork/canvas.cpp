#include "canvas.h"

#include <QPainter>

namespace artwork {

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QImage FlattenOnKey(const QImage& canvas, const QColor& key, const QColor& edgeBackdrop) {
  const QImage source = canvas.convertToFormat(QImage::Format_ARGB32);
  QImage out(source.size(), QImage::Format_RGB32);
  const QRgb keyRgb = key.rgb() & RGB_MASK;
  for (int y = 0; y < source.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < source.width(); ++x) {
      const int alpha = qAlpha(in[x]);
      if (alpha < 96) {
        row[x] = key.rgb();
        continue;
      }
      const auto mix = [alpha](int fg, int bg) { return (fg * alpha + bg * (255 - alpha)) / 255; };
      QRgb colour =
          qRgb(mix(qRed(in[x]), edgeBackdrop.red()), mix(qGreen(in[x]), edgeBackdrop.green()),
               mix(qBlue(in[x]), edgeBackdrop.blue()));
      if ((colour & RGB_MASK) == keyRgb)
        colour ^= 1; // one step off the key in blue
      row[x] = colour;
    }
  }
  return out;
}

QImage Over(const QImage& background, const QImage& canvas) {
  QImage out = background.convertToFormat(QImage::Format_RGB32);
  QPainter painter(&out);
  painter.drawImage(0, 0, canvas);
  return out;
}

QFont ArtFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

} // namespace artwork
