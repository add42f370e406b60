#include "skin/window_region.h"

#include <QWidget>

namespace skin {
namespace {

// Qt takes an empty mask for "no mask". A one-pixel mask beside the widget leaves nothing of
// it visible or clickable, which is what an empty outline means.
const QRegion kNothingVisible(-1, -1, 1, 1);

} // namespace

void SetWindowShape(QWidget& window, const QRegion& shape) {
  window.setMask(shape.isEmpty() ? kNothingVisible : shape);
}

QRegion PictureOutline(const QImage& picture) {
  if (picture.isNull())
    return {};
  const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
  const QRgb key = pixels.pixel(0, 0) & RGB_MASK;
  QRegion outline;
  // Runs of non-key pixels per row keep the rectangle count low.
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    int x = 0;
    while (x < pixels.width()) {
      while (x < pixels.width() && (row[x] & RGB_MASK) == key)
        ++x;
      const int start = x;
      while (x < pixels.width() && (row[x] & RGB_MASK) != key)
        ++x;
      if (x > start)
        outline += QRect(start, y, x - start, 1);
    }
  }
  return outline;
}

void CropWindowToPicture(QWidget& window, const QImage& picture) {
  SetWindowShape(window, PictureOutline(picture));
}

void ResetWindowRegion(QWidget& window, int width, int height) {
  SetWindowShape(window, QRegion(0, 0, width, height));
}

QRegion VisibleRegion(const QWidget& window) {
  const QRegion whole(window.rect());
  return window.mask().isEmpty() ? whole : whole.intersected(window.mask());
}

} // namespace skin
