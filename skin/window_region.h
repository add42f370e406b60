// Window shapes cut from pictures: the key colour of a picture's top-left pixel marks the
// holes, which are neither drawn nor given mouse input.
#pragma once

#include <QImage>
#include <QRegion>

class QWidget;

namespace skin {

// The pixels of `picture` whose RGB colour differs from its top-left pixel's; empty for a
// null or uniform picture. Key pixels inside the artwork are holes too.
QRegion PictureOutline(const QImage& picture);

// Gives `window` the outline of `picture`; anything outside the picture is cut away.
void CropWindowToPicture(QWidget& window, const QImage& picture);

// Gives `window` the shape `shape`: an empty shape leaves nothing of it visible or clickable.
void SetWindowShape(QWidget& window, const QRegion& shape);

// Gives `window` the plain rectangle (0, 0, width, height).
void ResetWindowRegion(QWidget& window, int width, int height);

// The part of `window` that is shown and takes the mouse, in its own coordinates.
QRegion VisibleRegion(const QWidget& window);

} // namespace skin
