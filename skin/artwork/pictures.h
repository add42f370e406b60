// Every picture of the product's artwork.
#pragma once

#include "theme.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace artwork {

inline constexpr int kMainWidth = 641, kMainHeight = 479;
inline constexpr int kAboutWidth = 501, kAboutHeight = 400;

// The product emblem, an envelope held by a life ring, inside `box`.
void DrawEmblem(QPainter& painter, const QRectF& box, const Theme& theme);

// The program's icon for the desktop, 128 x 128 with alpha.
QImage AppIcon(const Theme& theme);

// The main window's surface, outlined by the key colour.
QImage MainSurface(const Theme& theme);
// The about window's surface.
QImage AboutSurface(const Theme& theme);

// Where each button set sits on the main window.
QRect ButtonPlace(const QString& set);
// One state ("normal", "up", "down", "disable") of a button set, over its patch of the main
// surface so its corners blend in.
QImage ButtonPicture(const QString& set, const QString& state, const Theme& theme,
                     const QImage& mainSurface);

// DEFAULT_SKIN: 62 x 100, four 25-row faces, corners in flat silver.
QImage PushButtonSkin();

// Image `index` (0 to 9) of the result list, 16 x 16 with alpha.
QImage ListImage(int index);

} // namespace artwork
