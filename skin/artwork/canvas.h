// Helpers shared by the pictures: transparent canvases, flattening onto a key colour with
// crisp edges, and the fonts the artwork is lettered in.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

namespace artwork {

// A transparent canvas to paint with antialiasing.
QImage Canvas(int width, int height);

// An opaque picture of `canvas`: solid pixels keep their colour, edge pixels are blended over
// `edgeBackdrop`, and nearly transparent pixels become `key`. No pixel other than those
// ends up in the key colour.
QImage FlattenOnKey(const QImage& canvas, const QColor& key, const QColor& edgeBackdrop);

// `canvas` painted over `background`, which must be as large.
QImage Over(const QImage& background, const QImage& canvas);

QFont ArtFont(int pixelSize, bool bold);

} // namespace artwork
